// Dialog chores on the test dialog's real controls.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "support/window_screenshot.h"
#include "tambre32/ui.h"
#include "ui/test_dialog.h"

namespace {

using tambre::test::test_dialog;

RECT rect_in_parent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(DialogItems, ShowFocusEnable) {
  test_dialog dialog(true);
  HWND edit = dialog.item(IDC_UI_EDIT), button = dialog.item(IDC_UI_BUTTON), list = dialog.item(IDC_UI_LIST);
  ShowDlgItem(dialog.handle(), IDC_UI_EDIT, FALSE);
  EXPECT_FALSE(IsWindowVisible(edit));
  ShowDlgItem(dialog.handle(), IDC_UI_EDIT, 7);
  EXPECT_TRUE(IsWindowVisible(edit));
  SetFocus(list);
  EXPECT_EQ(SetDlgItemFocus(dialog.handle(), IDC_UI_BUTTON), list);
  EXPECT_EQ(GetFocus(), button);
  // Ids are 16-bit: the high half of the second one is ignored.
  EnableDlgItems(dialog.handle(), FALSE, IDC_UI_EDIT, 0x10000 | IDC_UI_BUTTON, 4711, 0, IDC_UI_LIST);
  EXPECT_FALSE(IsWindowEnabled(edit));
  EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_TRUE(IsWindowEnabled(list)) << "after the ending 0";
  EnableDlgItems(dialog.handle(), TRUE, IDC_UI_BUTTON, 0);
  EXPECT_TRUE(IsWindowEnabled(button));
}

TEST(DialogItems, LimitItemTextStopsAtFirstBadPair) {
  test_dialog dialog;
  HWND edit = dialog.item(IDC_UI_EDIT);
  HWND combo_edit = FindWindowExA(dialog.item(IDC_UI_COMBO), nullptr, "Edit", nullptr);
  ASSERT_NE(combo_edit, nullptr);
  auto limit = [](HWND field) { return SendMessageA(field, EM_GETLIMITTEXT, 0, 0); };
  // The list box is no edit or combo box: skipped, not counted.
  EXPECT_EQ(LimitItemText(dialog.handle(), IDC_UI_EDIT, 80, IDC_UI_LIST, 5, IDC_UI_COMBO, 12, 0), 2);
  EXPECT_EQ(limit(edit), 80);
  EXPECT_EQ(limit(combo_edit), 12);
  EXPECT_EQ(LimitItemText(dialog.handle(), IDC_UI_EDIT, 40, IDC_UI_BUTTON, 0, IDC_UI_COMBO, 20, 0), 1);
  EXPECT_EQ(limit(edit), 40);
  EXPECT_EQ(limit(combo_edit), 12) << "after the pair with length 0";
  EXPECT_EQ(LimitItemText(dialog.handle(), -1, 10, IDC_UI_EDIT, 10, 0), 0);
  EXPECT_EQ(limit(edit), 40);
  EXPECT_EQ(LimitItemText(nullptr, IDC_UI_EDIT, 10, 0), 0);
}

TEST(DialogItems, TextFromStringTable) {
  test_dialog dialog;
  HINSTANCE self = GetModuleHandleA(nullptr);
  char text[400];
  ASSERT_TRUE(SetDlgItemRcText(dialog.handle(), IDC_UI_EDIT, self, IDS_UI_ITEMS));
  GetDlgItemTextA(dialog.handle(), IDC_UI_EDIT, text, sizeof text);
  EXPECT_STREQ(text, "St\xFCndlich|2");
  EXPECT_FALSE(SetDlgItemRcText(dialog.handle(), IDC_UI_EDIT, self, IDS_UI_ITEMS + 5));
  GetDlgItemTextA(dialog.handle(), IDC_UI_EDIT, text, sizeof text);
  EXPECT_STREQ(text, "St\xFCndlich|2") << "a missing string leaves the text";
}

TEST(WaitCursor, TwoLevelsThenTheOriginal) {
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT), cross = LoadCursorA(nullptr, IDC_CROSS);
  SetCursor(cross);
  WaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  WaitCursor();
  WaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  const HCURSOR after_restore[] = {wait, cross, cross};
  for (HCURSOR expected : after_restore) {
    RestoreCursor();
    EXPECT_EQ(GetCursor(), expected);
  }
  SetCursor(nullptr);
}

TEST(WindowLayout, MovesAndResizesAtOnceAndDeferred) {
  test_dialog dialog(true);
  HWND edit = dialog.item(IDC_UI_EDIT), button = dialog.item(IDC_UI_BUTTON);
  RECT edit0 = rect_in_parent(edit), button0 = rect_in_parent(button), dialog0 = rect_in_parent(dialog.handle());

  MoveDlgItemsRelative(dialog.handle(), 10, 0, IDC_UI_EDIT, 4711, IDC_UI_BUTTON, 0);
  RECT edit1 = rect_in_parent(edit), button1 = rect_in_parent(button);
  EXPECT_EQ(edit1.left, edit0.left + 10);
  EXPECT_EQ(edit1.top, edit0.top);
  EXPECT_EQ(button1.left, button0.left + 10);
  ResizeDlgItemsRelative(dialog.handle(), 6, 4, IDC_UI_EDIT, 0);
  RECT edit2 = rect_in_parent(edit);
  EXPECT_EQ(edit2.left, edit1.left);
  EXPECT_EQ(edit2.right - edit2.left, edit1.right - edit1.left + 6);
  EXPECT_EQ(edit2.bottom - edit2.top, edit1.bottom - edit1.top + 4);
  MoveWindowRelative(dialog.handle(), 20, 15);
  RECT dialog1 = rect_in_parent(dialog.handle());
  EXPECT_EQ(dialog1.left, dialog0.left + 20);
  EXPECT_EQ(dialog1.top, dialog0.top + 15);

  // In a batch nothing moves until the batch is applied.
  EXPECT_FALSE(ExitDeferWindow());
  ASSERT_EQ(InitDeferWindow(2), 1);
  EXPECT_EQ(InitDeferWindow(2), 0) << "one batch at a time";
  MoveWindowRelative(edit, 0, 5);
  ResizeWindowRelative(button, -4, 0);
  MoveWindowRelative(button, 0, 0);
  EXPECT_EQ(rect_in_parent(edit).top, edit2.top);
  EXPECT_TRUE(ExitDeferWindow());
  EXPECT_EQ(rect_in_parent(edit).top, edit2.top + 5);
  RECT button2 = rect_in_parent(button);
  EXPECT_EQ(button2.right - button2.left, button1.right - button1.left - 4);
  EXPECT_EQ(button2.left, button1.left);
  EXPECT_FALSE(ExitDeferWindow());
  MoveWindowRelative(nullptr, 5, 5);
}

TEST(SizeableDialog, ReportsRestoresAndClamps) {
  test_dialog dialog(true);
  HWND window = dialog.handle();
  RECT outer0{}, client0{}, work{};
  GetWindowRect(window, &outer0);
  GetClientRect(window, &client0);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG frame_x = (outer0.right - outer0.left) - client0.right;

  SIZE outer{}, client{0, 0};
  EXPECT_FALSE(InitSizeableDialog(window, &outer, &client)) << "width 0 only reports";
  EXPECT_EQ(outer.cx, outer0.right - outer0.left);
  EXPECT_EQ(outer.cy, outer0.bottom - outer0.top);
  EXPECT_EQ(client.cx, client0.right);
  EXPECT_EQ(client.cy, client0.bottom);

  SetWindowPos(window, nullptr, work.right - 100, work.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  client = {client0.right + 50, client0.bottom + 40};
  ASSERT_TRUE(InitSizeableDialog(window, &outer, &client));
  RECT now{}, inside{};
  GetWindowRect(window, &now);
  GetClientRect(window, &inside);
  EXPECT_EQ(inside.right, client0.right + 50);
  EXPECT_EQ(inside.bottom, client0.bottom + 40);
  EXPECT_EQ(now.left, (work.right - work.left) - (client0.right + 50 + frame_x)) << "pulled back onto the work area";
  EXPECT_EQ(now.top, work.top + 10);

  SIZE too_large = {work.right - work.left + 1, 100};
  EXPECT_FALSE(InitSizeableDialog(window, &outer, &too_large));
  EXPECT_EQ(too_large.cx, inside.right) << "the current size is still reported";
  SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) & ~WS_THICKFRAME);
  SIZE fixed = {100, 100};
  EXPECT_FALSE(InitSizeableDialog(window, &outer, &fixed));
  EXPECT_FALSE(InitSizeableDialog(window, nullptr, &fixed));
}

TEST(CustomResources, LoadedCopiedAndSaved) {
  HINSTANCE library = GetModuleHandleA("tambre32.dll");
  const std::string expected = tambre::test::file_contents(std::string(TAMBRE_SOURCE_DIR) + "/src/res/codriver.reg");
  ASSERT_FALSE(expected.empty());
  DWORD size = 7;
  const char* in_place = static_cast<const char*>(LoadCustomResource(library, "REGFILE", "CODRIVER.REG", FALSE, &size));
  ASSERT_NE(in_place, nullptr);
  EXPECT_EQ(std::string(in_place, size), expected);
  char* copy = static_cast<char*>(LoadCustomResource(library, "REGFILE", "CODRIVER.REG", TRUE, nullptr));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, in_place);
  EXPECT_EQ(std::string(copy, expected.size()), expected);
  HGLOBAL block = GlobalHandle(copy);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), expected.size());
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 1u) << "returned locked";
  GlobalUnlock(block);
  GlobalFree(block);
  size = 7;
  EXPECT_EQ(LoadCustomResource(library, "REGFILE", "FEHLT", TRUE, &size), nullptr);
  EXPECT_EQ(size, 0u);

  tambre::test::temp_dir dir;
  std::string saved = dir.file("codriver.reg");
  tambre::test::write_file(saved, std::string(expected.size() * 2, 'x'));  // replaced, not overwritten
  ASSERT_EQ(SaveCustomResourceToFile(library, "REGFILE", "CODRIVER.REG", saved.c_str()), 1);
  EXPECT_EQ(tambre::test::file_contents(saved), expected);
  std::string never = dir.file("never.reg");
  EXPECT_EQ(SaveCustomResourceToFile(library, "REGFILE", "FEHLT", never.c_str()), 0);
  EXPECT_EQ(GetFileAttributesA(never.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(SaveCustomResourceToFile(library, "REGFILE", "CODRIVER.REG", nullptr), 0);
}

}  // namespace
