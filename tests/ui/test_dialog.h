#pragma once
// The test program's dialog (ui_test.rc), modeless on the calling thread, destroyed with the object.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui_test_ids.h"

namespace tambre::test {

inline INT_PTR CALLBACK plain_dialog_proc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class test_dialog {
 public:
  explicit test_dialog(bool visible = false) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    window_ =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UI_TEST), nullptr, plain_dialog_proc, 0);
    if (visible && window_ != nullptr) {
      ShowWindow(window_, SW_SHOW);
      UpdateWindow(window_);
    }
  }
  ~test_dialog() {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  test_dialog(const test_dialog&) = delete;
  test_dialog& operator=(const test_dialog&) = delete;

  HWND handle() const { return window_; }
  HWND item(int id) const { return GetDlgItem(window_, id); }

 private:
  HWND window_ = nullptr;
};

// The text of item `index` of a list box or combo box.
inline std::string list_item_text(HWND control, int index, bool combo) {
  char text[300] = "";
  SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace tambre::test
