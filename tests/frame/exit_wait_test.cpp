// MsgBoxWaitForExit through the DLL: the progress dialog driven from a helper thread with
// window messages, as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "support/child_process.h"
#include "support/eventually.h"
#include "sys/handles.h"
#include "tambre32/waits.h"

namespace {

using tambre::sys::unique_handle;
using tambre::test::eventually;

constexpr const char* kDefaultCaption = "Prozesstreiber beenden";
constexpr int kCancelButton = 3, kText = 101, kProgress = 1067;

unique_handle new_event() { return unique_handle(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

std::string text_of(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Counts the dialog windows this thread creates while it lives.
struct dialogs_created {
  static inline int count = 0;
  HHOOK hook;
  dialogs_created() : hook(SetWindowsHookExA(WH_CBT, on_cbt, nullptr, GetCurrentThreadId())) { count = 0; }
  ~dialogs_created() { UnhookWindowsHookEx(hook); }
  static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam) {
    char name[16] = "";
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wparam), name, sizeof name) &&
        std::string(name) == "#32770") {
      ++count;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
};

// Presses "Abbrechen" and answers the question with `answer`; returns the question.
std::string press_cancel_and_answer(HWND dialog, int answer) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kCancelButton, BN_CLICKED), 0);
  HWND box = nullptr;
  const auto owned_box = [&] {
    for (box = FindWindowA("#32770", nullptr); box; box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
      if (GetWindow(box, GW_OWNER) == dialog && IsWindowVisible(box)) return true;
    }
    return false;
  };
  if (!eventually(owned_box)) return "";
  char question[512] = "";
  GetDlgItemTextA(box, 0xFFFF, question, sizeof question);
  PostMessageA(box, WM_COMMAND, answer, 0);
  eventually([&] { return !IsWindow(box); });  // the answer has been taken
  return question;
}

// Waits up to `total` ms on an event of its own while a user thread finds the dialog
// titled `find` and runs `user` on it, which may signal the event.
int wait_with_user(int total, const std::function<void(HWND dialog, HANDLE event)>& user,
                   const char* find = kDefaultCaption, const char* caption = nullptr, HINSTANCE module = nullptr,
                   const char* text = nullptr) {
  const unique_handle event = new_event();
  std::thread thread([&] {
    HWND dialog = nullptr;
    if (eventually([&] { return (dialog = FindWindowA("#32770", find)) && IsWindowVisible(dialog); })) {
      user(dialog, event.get());
    }
  });
  const int result = MsgBoxWaitForExit(event.get(), total, 0, caption, module, text);
  thread.join();
  return result;
}

TEST(MsgBoxWaitForExit, WaitsThatShowNoDialog) {
  dialogs_created dialogs;
  const unique_handle signalled = new_event();
  SetEvent(signalled.get());  // gives 1 wherever the arguments are taken
  HANDLE closed = new_event().release();
  CloseHandle(closed);
  EXPECT_EQ(MsgBoxWaitForExit(signalled.get(), -1, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(MsgBoxWaitForExit(signalled.get(), 100, -1, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(MsgBoxWaitForExit(nullptr, 100, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(MsgBoxWaitForExit(signalled.get(), 1000, 0, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(MsgBoxWaitForExit(closed, 1000, 0, nullptr, nullptr, nullptr), 1) << "nothing to wait for";

  tambre::test::child_process cmd("cmd.exe /c exit 3");
  ASSERT_TRUE(cmd.started());
  EXPECT_EQ(MsgBoxWaitForExit(cmd.handle(), 30000, 30000, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(cmd.wait(0), 3u) << "the wait returned only after the process had ended";

  // A quiet wait as long as the total (or longer) shows no dialog.
  const unique_handle event = new_event();
  EXPECT_EQ(MsgBoxWaitForExit(event.get(), 150, 200, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(MsgBoxWaitForExit(event.get(), 150, 150, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(dialogs_created::count, 0);
}

TEST(MsgBoxWaitForExit, DialogShowsItsTextsAndProgressAndEndsWhenSignalledOrTimedOut) {
  const struct {
    const char* caption;
    HINSTANCE module;
    const char* text;
    const char* shown_caption;
    const char* shown_text;
  } rows[] = {
      {nullptr, nullptr, nullptr, kDefaultCaption, "Wartet auf Prozesstreiber..."},
      {"Treiber X", nullptr, "Warte auf Treiber X", "Treiber X", "Warte auf Treiber X"},
      {"Mit Id", GetModuleHandleA("tambre32.dll"), MAKEINTRESOURCEA(202), "Mit Id", "Systemmeldung"},
  };
  for (const auto& r : rows) {
    std::string caption, text;
    LRESULT position = -1;
    const int result = wait_with_user(
        20000,
        [&](HWND dialog, HANDLE event) {
          caption = text_of(dialog);
          text = text_of(GetDlgItem(dialog, kText));
          eventually([&] { return (position = SendDlgItemMessageA(dialog, kProgress, PBM_GETPOS, 0, 0)) >= 1; });
          SetEvent(event);
        },
        r.shown_caption, r.caption, r.module, r.text);
    EXPECT_EQ(result, 1) << r.shown_caption;
    EXPECT_EQ(caption, r.shown_caption);
    EXPECT_EQ(text, r.shown_text) << r.shown_caption;
    EXPECT_GE(position, 1) << r.shown_caption << ": the bar moves while the wait goes on";
  }
  EXPECT_EQ(FindWindowA("#32770", kDefaultCaption), nullptr) << "the dialog is gone afterwards";
}

TEST(MsgBoxWaitForExit, CancelAnsweredYesEndsTheWaitNoOrEnterDoNot) {
  std::string question;
  EXPECT_EQ(wait_with_user(20000, [&](HWND dialog, HANDLE) { question = press_cancel_and_answer(dialog, IDYES); }), -1);
  EXPECT_EQ(question,
            "Das Abbrechen von Prozesstreibern kann unter Umst\xe4nden zu Problemen f\xfchren.\n\n"
            "M\xf6"
            "chten Sie den Treiber wirklich abbrechen?");
  EXPECT_EQ(FindWindowA("#32770", kDefaultCaption), nullptr) << "the dialog went with the answer";

  std::atomic<bool> stayed{false};
  EXPECT_EQ(wait_with_user(20000,
                           [&](HWND dialog, HANDLE event) {
                             stayed = !press_cancel_and_answer(dialog, IDNO).empty() && IsWindowVisible(dialog);
                             SetEvent(event);
                           }),
            1);
  EXPECT_TRUE(stayed) << "cancel denied: the dialog stays";
  std::atomic<bool> closed{false};
  EXPECT_EQ(wait_with_user(600,
                           [&](HWND dialog, HANDLE) {
                             SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                             closed = !IsWindow(dialog);
                           }),
            0);
  EXPECT_TRUE(closed) << "enter closes the dialog and the time runs out";
}

}  // namespace
