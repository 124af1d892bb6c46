// Message boxes of tambre32.dll as the user sees them, read and answered by the box catcher.
#include <gtest/gtest.h>

#include "frame_test_support.h"
#include "support/box_catcher.h"
#include "tambre32/frame.h"

namespace {

using tambre::test::box_catcher;
using tambre::test::box_icon;
using tambre::test::caught_box;

// A visible top-level window of the test program, active on this thread.
class owner_window {
 public:
  explicit owner_window(const char* title) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TambreTestOwner";
    RegisterClassA(&cls);  // fails harmlessly when already registered
    window_ = CreateWindowA("TambreTestOwner", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(window_);
  }
  ~owner_window() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

template <typename Show>
caught_box answered(int answer, Show show) {
  box_catcher catcher(answer);
  EXPECT_EQ(show(), answer);
  return catcher.wait();
}

TEST(MessageFMTBox, TheOwnerDecidesStringsCaptionAndOwnership) {
  caught_box box = answered(IDOK, [] { return MessageFMTBox(nullptr, 202, MB_OK | MB_ICONHAND); });
  EXPECT_EQ(box.caption, "Treiber");
  EXPECT_EQ(box.text, "Systemmeldung");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.icon, box_icon::hand);
  EXPECT_EQ(box.buttons, (std::vector<int>{IDOK}));

  owner_window owner("Fenster 1");
  box = answered(IDNO, [&] { return MessageFMTBox(owner.get(), 9001, MB_YESNO | MB_ICONQUESTION, 7, "Z"); });
  EXPECT_EQ(box.caption, "Fenster 1");
  EXPECT_EQ(box.text, "Wert 7 von Z");
  EXPECT_EQ(box.owner, owner.get());
  EXPECT_EQ(box.icon, box_icon::question);
  EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));

  // A module: its file name as caption, the active window as owner.
  box = answered(IDCANCEL, [] { return MessageFMTBox(GetModuleHandleA(nullptr), 9003, MB_OKCANCEL); });
  EXPECT_EQ(box.caption, "frame_dll_test");
  EXPECT_EQ(box.text, "Kanal gest\xf6rt");
  EXPECT_EQ(box.owner, owner.get());

  box = answered(IDRETRY, [] { return ResourceMessageBox(GetModuleHandleA(nullptr), 9001, MB_RETRYCANCEL, 12, "Q"); });
  EXPECT_EQ(box.caption, "Fenster 1");
  EXPECT_EQ(box.text, "Wert 12 von Q");
  EXPECT_EQ(box.owner, owner.get());

  // Missing strings show nothing.
  EXPECT_EQ(MessageFMTBox(nullptr, 4711, MB_OK), 0);
  EXPECT_EQ(MessageFMTBox(owner.get(), 4711, MB_OK), 0);
  EXPECT_EQ(ResourceMessageBox(GetModuleHandleA(nullptr), 4711, MB_OK), 0);
  EXPECT_TRUE(tambre::test::no_box_visible());
}

TEST(LastErrorMessageBox, ShowsHeadAndSystemTextInTheForeground) {
  SetLastError(0);
  EXPECT_EQ(LastErrorMessageBox(nullptr, 0, MB_OK), 0);
  EXPECT_EQ(LastErrorMessageBox(nullptr, ERROR_ACCESS_DENIED, static_cast<UINT>(-1)), 0);
  EXPECT_EQ(LastErrorMessageBox(nullptr, 0x2000ABCDu, MB_OK), -1);  // no system text for this code
  EXPECT_TRUE(tambre::test::no_box_visible());

  owner_window owner("Fenster 3");
  const caught_box box = answered(IDOK, [&] {
    SetLastError(ERROR_ACCESS_DENIED);
    return LastErrorMessageBox(owner.get(), 0, MB_OK | MB_ICONEXCLAMATION);
  });
  EXPECT_EQ(box.caption, "Systemmeldung");
  char head[512] = "";
  LoadStringA(GetModuleHandleA("tambre32.dll"), 201, head, sizeof head);
  EXPECT_EQ(box.text, head + frame_test::system_text(ERROR_ACCESS_DENIED));
  EXPECT_EQ(box.owner, owner.get());
  EXPECT_EQ(box.icon, box_icon::exclamation);
  EXPECT_TRUE(box.foreground);
}

TEST(EnableDlgItem, ReturnsWhetherTheControlWasDisabledBefore) {
  owner_window parent("Dialog");
  HWND control = CreateWindowA("BUTTON", "OK", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent.get(),
                               reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(control, nullptr);
  EXPECT_FALSE(EnableDlgItem(parent.get(), 7, FALSE));
  EXPECT_FALSE(IsWindowEnabled(control));
  EXPECT_TRUE(EnableDlgItem(parent.get(), 7, FALSE));
  EXPECT_TRUE(EnableDlgItem(parent.get(), 7, TRUE));
  EXPECT_TRUE(IsWindowEnabled(control));
  EXPECT_FALSE(EnableDlgItem(parent.get(), 99, TRUE));  // no such control
}

}  // namespace
