// MsgBoxWaitForExit through the DLL: the progress dialog is found and driven from a helper
// thread with FindWindow, GetDlgItem and window messages, as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

#include "tambre32/waits.h"

namespace {

constexpr const char* kDefaultCaption = "Prozesstreiber beenden";

struct event_handle {
  HANDLE h = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ~event_handle() { CloseHandle(h); }
};

// The visible dialog with `caption`, polled for up to five seconds; null when none came.
HWND find_dialog(const char* caption, DWORD timeout_ms = 5000) {
  const DWORD start = GetTickCount();
  do {
    HWND window = FindWindowA("#32770", caption);
    if (window && IsWindowVisible(window)) return window;
    Sleep(5);
  } while (GetTickCount() - start < timeout_ms);
  return nullptr;
}

std::string text_of(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct owned_box_search {
  HWND owner;
  HWND found;
};

BOOL CALLBACK match_owned_box(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<owned_box_search*>(param);
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A message box owned by `owner`, polled for up to five seconds.
HWND find_owned_box(HWND owner) {
  owned_box_search search{owner, nullptr};
  const DWORD start = GetTickCount();
  while (!search.found && GetTickCount() - start < 5000) {
    EnumWindows(match_owned_box, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(5);
  }
  return search.found;
}

std::string longest_static_text(HWND box) {
  std::string longest;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    const std::string text = text_of(child);
    if (_stricmp(name, "Static") == 0 && text.size() > longest.size()) longest = text;
  }
  return longest;
}

struct bad_argument_row {
  const char* name;
  HANDLE handle;
  int total;
  int quiet;
};

TEST(MsgBoxWaitForExit, BadArgumentsGiveZero) {
  event_handle event;
  const bad_argument_row rows[] = {
      {"negative_total", event.h, -1, 0},
      {"negative_quiet", event.h, 100, -1},
      {"null_handle", nullptr, 100, 0},
      {"invalid_handle_value", INVALID_HANDLE_VALUE, 100, 0},
  };
  SetEvent(event.h);  // would give 1 if the arguments were taken
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MsgBoxWaitForExit(row.handle, row.total, row.quiet, nullptr, nullptr, nullptr), 0);
  }
}

TEST(MsgBoxWaitForExit, SignalledObjectAndUnwaitableHandleGiveOne) {
  event_handle event;
  SetEvent(event.h);
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 1000, 0, nullptr, nullptr, nullptr), 1);
  HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(closed);
  EXPECT_EQ(MsgBoxWaitForExit(closed, 1000, 0, nullptr, nullptr, nullptr), 1) << "nothing to wait for";
}

TEST(MsgBoxWaitForExit, RealProcessThatEndsDuringTheQuietWait) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  char command[] = "cmd.exe /c exit 3";
  ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                             &process));
  EXPECT_EQ(MsgBoxWaitForExit(process.hProcess, 30000, 30000, nullptr, nullptr, nullptr), 1);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &code));
  EXPECT_EQ(code, 3u) << "the wait returned only after the process had ended";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST(MsgBoxWaitForExit, QuietWaitAsLongAsTheTotalShowsNoDialog) {
  event_handle event;
  std::atomic<bool> seen{false};
  std::atomic<bool> done{false};
  std::thread watcher([&] {
    while (!done) {
      if (FindWindowA("#32770", kDefaultCaption)) seen = true;
      Sleep(2);
    }
  });
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 150, 200, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 150, 150, nullptr, nullptr, nullptr), 0);
  done = true;
  watcher.join();
  EXPECT_FALSE(seen);
}

TEST(MsgBoxWaitForExit, ProgressBarCountsFiftyMillisecondSteps) {
  event_handle event;
  int range_high = -1;
  int range_low = -1;
  std::thread user([&] {
    HWND dialog = find_dialog(kDefaultCaption);
    if (!dialog) return;
    PBRANGE range{};
    SendMessageA(GetDlgItem(dialog, 1067), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    range_low = range.iLow;
    range_high = range.iHigh;
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 175, 0, nullptr, nullptr, nullptr), 0);
  const DWORD elapsed = GetTickCount() - start;
  user.join();
  EXPECT_EQ(range_low, 0);
  EXPECT_EQ(range_high, 3) << "175 ms in steps of 50";
  EXPECT_GE(elapsed, 175u) << "four steps of 50 ms";
  EXPECT_EQ(FindWindowA("#32770", kDefaultCaption), nullptr) << "the dialog is gone afterwards";
}

struct dialog_view {
  std::string caption;
  std::string text;
  std::string button;
  LONG_PTR progress_position = -1;
};

// Runs the wait with a user thread that reads the dialog, then signals the object.
dialog_view run_and_read(const char* caption, HINSTANCE module, const char* text, const char* find_caption,
                         int& result) {
  event_handle event;
  dialog_view view;
  std::thread user([&] {
    HWND dialog = find_dialog(find_caption);
    if (dialog) {
      view.caption = text_of(dialog);
      view.text = text_of(GetDlgItem(dialog, 101));
      view.button = text_of(GetDlgItem(dialog, 3));
      Sleep(120);
      view.progress_position = SendMessageA(GetDlgItem(dialog, 1067), PBM_GETPOS, 0, 0);
    }
    SetEvent(event.h);
  });
  result = MsgBoxWaitForExit(event.h, 20000, 0, caption, module, text);
  user.join();
  return view;
}

TEST(MsgBoxWaitForExit, DialogShowsTheTemplateTextsAndEndsWhenSignalled) {
  int result = 0;
  dialog_view view = run_and_read(nullptr, nullptr, nullptr, kDefaultCaption, result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(view.caption, kDefaultCaption);
  EXPECT_EQ(view.text, "Wartet auf Prozesstreiber...");
  EXPECT_EQ(view.button, "Abbrechen");
  EXPECT_GE(view.progress_position, 1) << "the bar moves while the wait goes on";
}

TEST(MsgBoxWaitForExit, CaptionAndTextOfTheCaller) {
  int result = 0;
  dialog_view view = run_and_read("Treiber X", nullptr, "Warte auf Treiber X", "Treiber X", result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(view.caption, "Treiber X");
  EXPECT_EQ(view.text, "Warte auf Treiber X");
}

TEST(MsgBoxWaitForExit, TextAsStringIdOfAModule) {
  HMODULE dll = GetModuleHandleA("tambre32.dll");
  ASSERT_NE(dll, nullptr);
  char expected[400] = "";
  ASSERT_GT(LoadStringA(dll, 202, expected, sizeof expected), 0);  // Wine reads the resource
  int result = 0;
  dialog_view view = run_and_read("Mit Id", dll, MAKEINTRESOURCEA(202), "Mit Id", result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(view.text, expected);
  EXPECT_EQ(view.text, "Systemmeldung");

  view = run_and_read("Ohne Id", dll, MAKEINTRESOURCEA(9999), "Ohne Id", result);
  EXPECT_EQ(view.text, "") << "an id the module lacks gives an empty text";
}

// Presses "Abbrechen" and answers the question with `answer`; returns the question's text.
std::string press_cancel_and_answer(HWND dialog, int answer) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0);
  HWND box = find_owned_box(dialog);
  if (!box) return "";
  std::string question = longest_static_text(box);
  PostMessageA(box, WM_COMMAND, answer, 0);
  return question;
}

TEST(MsgBoxWaitForExit, CancelConfirmedEndsTheWaitWithMinusOne) {
  event_handle event;
  std::string question;
  std::atomic<HWND> dialog{nullptr};
  std::thread user([&] {
    dialog = find_dialog(kDefaultCaption);
    if (dialog) question = press_cancel_and_answer(dialog, IDYES);
  });
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 20000, 0, nullptr, nullptr, nullptr), -1);
  user.join();
  ASSERT_NE(dialog.load(), nullptr);
  EXPECT_FALSE(IsWindow(dialog.load())) << "the dialog went with the answer";
  EXPECT_EQ(FindWindowA("#32770", kDefaultCaption), nullptr);
  EXPECT_EQ(question,
            "Das Abbrechen von Prozesstreibern kann unter Umst\xe4nden zu Problemen f\xfchren.\n\n"
            "M\xf6"
            "chten Sie den Treiber wirklich abbrechen?");
}

TEST(MsgBoxWaitForExit, CancelDeniedKeepsWaiting) {
  event_handle event;
  bool still_there = false;
  std::thread user([&] {
    HWND dialog = find_dialog(kDefaultCaption);
    if (!dialog) return;
    press_cancel_and_answer(dialog, IDNO);
    Sleep(150);
    still_there = IsWindowVisible(dialog) != FALSE;
    SetEvent(event.h);
  });
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 20000, 0, nullptr, nullptr, nullptr), 1);
  user.join();
  EXPECT_TRUE(still_there);
}

TEST(MsgBoxWaitForExit, EscapeClosesTheDialogButTheWaitGoesOn) {
  event_handle event;
  bool closed = false;
  std::thread user([&] {
    HWND dialog = find_dialog(kDefaultCaption);
    if (!dialog) return;
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    closed = !IsWindow(dialog);
    Sleep(150);
    SetEvent(event.h);
  });
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 20000, 0, nullptr, nullptr, nullptr), 1) << "signalled after the window went";
  user.join();
  EXPECT_TRUE(closed);
}

TEST(MsgBoxWaitForExit, EnterClosesTheDialogAndTheTimeRunsOut) {
  event_handle event;
  std::atomic<bool> closed{false};
  std::thread user([&] {
    HWND dialog = find_dialog(kDefaultCaption);
    if (!dialog) return;
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    closed = !IsWindow(dialog);
  });
  EXPECT_EQ(MsgBoxWaitForExit(event.h, 600, 0, nullptr, nullptr, nullptr), 0);
  user.join();
  EXPECT_TRUE(closed) << "closed while the wait went on";
}

}  // namespace
