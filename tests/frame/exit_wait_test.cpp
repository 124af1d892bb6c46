// MsgBoxWaitForExit through the DLL: the progress dialog is found and driven from a helper
// thread with FindWindow, GetDlgItem and window messages, as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "support/child_process.h"
#include "sys/handles.h"
#include "tambre32/waits.h"

namespace {

using tambre::sys::unique_handle;

constexpr const char* kDefaultCaption = "Prozesstreiber beenden";
constexpr int kCancelButton = 3, kText = 101, kProgress = 1067;

unique_handle new_event() { return unique_handle(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

// Polls `condition` every 5 ms for up to five seconds; the last answer.
template <typename Condition>
bool within_five_seconds(Condition condition) {
  for (const DWORD start = GetTickCount(); !condition();) {
    if (GetTickCount() - start > 5000) return false;
    Sleep(5);
  }
  return true;
}

// The visible dialog with `caption`; null when none came.
HWND find_dialog(const char* caption) {
  HWND window = nullptr;
  within_five_seconds([&] {
    window = FindWindowA("#32770", caption);
    return window && IsWindowVisible(window);
  });
  return window && IsWindowVisible(window) ? window : nullptr;
}

std::string text_of(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct owned_box_search {
  HWND owner, found;
};

BOOL CALLBACK match_owned_box(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<owned_box_search*>(param);
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// Presses "Abbrechen" and answers the question with `answer`; returns the question's text,
// the longest static text of the box.
std::string press_cancel_and_answer(HWND dialog, int answer) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kCancelButton, BN_CLICKED), 0);
  owned_box_search search{dialog, nullptr};
  if (!within_five_seconds([&] { return !EnumWindows(match_owned_box, reinterpret_cast<LPARAM>(&search)); })) return "";
  HWND box = search.found;
  std::string question;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Static") == 0 && text_of(child).size() > question.size()) question = text_of(child);
  }
  PostMessageA(box, WM_COMMAND, answer, 0);
  within_five_seconds([&] { return !IsWindow(box); });  // the answer has been taken
  return question;
}

// Waits up to `total` ms on an event of its own while a user thread finds the dialog
// titled `find` and runs `user` on it, which may signal the event.
int wait_with_user(int total, const std::function<void(HWND dialog, HANDLE event)>& user,
                   const char* find = kDefaultCaption, const char* caption = nullptr, HINSTANCE module = nullptr,
                   const char* text = nullptr) {
  const unique_handle event = new_event();
  std::thread thread([&] {
    if (HWND dialog = find_dialog(find)) user(dialog, event.get());
  });
  const int result = MsgBoxWaitForExit(event.get(), total, 0, caption, module, text);
  thread.join();
  return result;
}

TEST(MsgBoxWaitForExit, ArgumentsAndObjectsThatNeedNoWait) {
  const unique_handle signalled = new_event();
  SetEvent(signalled.get());  // gives 1 wherever the arguments are taken
  HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(closed);
  struct row {
    const char* name;
    HANDLE handle;
    int total, quiet, result;
  } rows[] = {
      {"negative total", signalled.get(), -1, 0, 0},
      {"negative quiet", signalled.get(), 100, -1, 0},
      {"null handle", nullptr, 100, 0, 0},
      {"invalid handle value", INVALID_HANDLE_VALUE, 100, 0, 0},
      {"signalled object", signalled.get(), 1000, 0, 1},
      {"unwaitable handle: nothing to wait for", closed, 1000, 0, 1},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(MsgBoxWaitForExit(r.handle, r.total, r.quiet, nullptr, nullptr, nullptr), r.result) << r.name;
  }
}

TEST(MsgBoxWaitForExit, RealProcessThatEndsDuringTheQuietWait) {
  tambre::test::child_process cmd("cmd.exe /c exit 3");
  ASSERT_TRUE(cmd.started());
  EXPECT_EQ(MsgBoxWaitForExit(cmd.handle(), 30000, 30000, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(cmd.wait(0), 3u) << "the wait returned only after the process had ended";
}

TEST(MsgBoxWaitForExit, QuietWaitAsLongAsTheTotalShowsNoDialog) {
  const unique_handle event = new_event();
  std::atomic<bool> seen{false}, done{false};
  std::thread watcher([&] {
    for (; !done; Sleep(2)) {
      if (FindWindowA("#32770", kDefaultCaption)) seen = true;
    }
  });
  EXPECT_EQ(MsgBoxWaitForExit(event.get(), 150, 200, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(MsgBoxWaitForExit(event.get(), 150, 150, nullptr, nullptr, nullptr), 0);
  done = true;
  watcher.join();
  EXPECT_FALSE(seen);
}

TEST(MsgBoxWaitForExit, ProgressBarCountsFiftyMillisecondSteps) {
  PBRANGE range{-1, -1};
  const DWORD start = GetTickCount();
  EXPECT_EQ(wait_with_user(175,
                           [&](HWND dialog, HANDLE) {
                             SendMessageA(GetDlgItem(dialog, kProgress), PBM_GETRANGE, FALSE,
                                          reinterpret_cast<LPARAM>(&range));
                           }),
            0);
  EXPECT_GE(GetTickCount() - start, 175u) << "four steps of 50 ms";
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 3) << "175 ms in steps of 50";
  EXPECT_EQ(FindWindowA("#32770", kDefaultCaption), nullptr) << "the dialog is gone afterwards";
}

TEST(MsgBoxWaitForExit, DialogShowsItsTextsAndEndsWhenSignalled) {
  HMODULE dll = GetModuleHandleA("tambre32.dll");
  char library_text[400] = "";
  ASSERT_GT(LoadStringA(dll, 202, library_text, sizeof library_text), 0);  // Wine reads the resource
  EXPECT_STREQ(library_text, "Systemmeldung");
  struct row {
    const char* name;
    const char* caption;
    HINSTANCE module;
    const char* text;
    const char* shown_caption;
    const char* shown_text;
  } rows[] = {
      {"the template's", nullptr, nullptr, nullptr, kDefaultCaption, "Wartet auf Prozesstreiber..."},
      {"the caller's", "Treiber X", nullptr, "Warte auf Treiber X", "Treiber X", "Warte auf Treiber X"},
      {"string id of a module", "Mit Id", dll, MAKEINTRESOURCEA(202), "Mit Id", library_text},
      {"an id the module lacks gives an empty text", "Ohne Id", dll, MAKEINTRESOURCEA(9999), "Ohne Id", ""},
  };
  for (const auto& r : rows) {
    std::string caption, text, button;
    LRESULT position = -1;
    const int result = wait_with_user(
        20000,
        [&](HWND dialog, HANDLE event) {
          caption = text_of(dialog);
          text = text_of(GetDlgItem(dialog, kText));
          button = text_of(GetDlgItem(dialog, kCancelButton));
          within_five_seconds(
              [&] { return (position = SendMessageA(GetDlgItem(dialog, kProgress), PBM_GETPOS, 0, 0)) >= 1; });
          SetEvent(event);
        },
        r.shown_caption, r.caption, r.module, r.text);
    EXPECT_EQ(result, 1) << r.name;
    EXPECT_EQ(caption, r.shown_caption) << r.name;
    EXPECT_EQ(text, r.shown_text) << r.name;
    EXPECT_EQ(button, "Abbrechen") << r.name;
    EXPECT_GE(position, 1) << r.name << ": the bar moves while the wait goes on";
  }
}

TEST(MsgBoxWaitForExit, CancelConfirmedEndsTheWaitWithMinusOne) {
  std::string question;
  std::atomic<HWND> dialog{nullptr};
  EXPECT_EQ(wait_with_user(20000,
                           [&](HWND shown, HANDLE) {
                             dialog = shown;
                             question = press_cancel_and_answer(shown, IDYES);
                           }),
            -1);
  ASSERT_NE(dialog.load(), nullptr);
  EXPECT_FALSE(IsWindow(dialog.load())) << "the dialog went with the answer";
  EXPECT_EQ(question,
            "Das Abbrechen von Prozesstreibern kann unter Umst\xe4nden zu Problemen f\xfchren.\n\n"
            "M\xf6"
            "chten Sie den Treiber wirklich abbrechen?");
}

TEST(MsgBoxWaitForExit, UserActionsThatDoNotEndTheWait) {
  struct row {
    const char* name;
    bool (*act)(HWND dialog);  // true when the dialog was as it should be afterwards
    int total, result;         // the object is signalled after the action unless result is 0
  } rows[] = {
      {"cancel denied: the dialog stays",
       [](HWND dialog) { return !press_cancel_and_answer(dialog, IDNO).empty() && IsWindowVisible(dialog) != FALSE; },
       20000, 1},
      {"escape closes the dialog, the wait goes on",
       [](HWND dialog) {
         SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
         return !IsWindow(dialog);
       },
       20000, 1},
      {"enter closes the dialog and the time runs out",
       [](HWND dialog) {
         SendMessageA(dialog, WM_COMMAND, IDOK, 0);
         return !IsWindow(dialog);
       },
       600, 0},
  };
  for (const auto& r : rows) {
    std::atomic<bool> as_expected{false};
    EXPECT_EQ(wait_with_user(r.total,
                             [&](HWND dialog, HANDLE event) {
                               as_expected = r.act(dialog);
                               if (r.result != 0) SetEvent(event);
                             }),
              r.result)
        << r.name;
    EXPECT_TRUE(as_expected) << r.name;
  }
}

}  // namespace
