#pragma once
// Works a modal dialog of this process from a helper thread: finds it by its title once it
// is shown, then runs the test's steps on it while the dialog's own thread sits in its
// modal loop. The steps end by closing it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "support/eventually.h"

namespace tambre::test {

class dialog_driver {
 public:
  dialog_driver(const char* title, std::function<void(HWND)> steps)
      : worker_([title = std::string(title), steps] {
          HWND dialog = nullptr;
          // The window exists before its initialisation has run; it is shown after it.
          if (!eventually(
                  [&] {
                    dialog = FindWindowA("#32770", title.c_str());
                    return dialog != nullptr && IsWindowVisible(dialog);
                  },
                  10000)) {
            ADD_FAILURE() << "no dialog \"" << title << "\" appeared";
            return;
          }
          steps(dialog);
        }) {}
  ~dialog_driver() { worker_.join(); }
  dialog_driver(const dialog_driver&) = delete;
  dialog_driver& operator=(const dialog_driver&) = delete;

 private:
  std::thread worker_;
};

inline std::string field_text(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

inline bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

inline void click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline bool still_open(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

}  // namespace tambre::test
