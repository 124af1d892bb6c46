#pragma once
// Works a modal dialog of this process from a helper thread: finds it by its title once it
// is shown, then runs the test's steps on it while the dialog's own thread sits in its
// modal loop. The steps end by closing it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace redundancy_test {

// Polls `condition` until it holds, for 10 s at most; whether it came to hold.
inline bool wait_until(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; ++i, Sleep(10)) {
    if (condition()) return true;
  }
  return condition();
}

class dialog_driver {
 public:
  dialog_driver(const char* title, std::function<void(HWND)> steps)
      : worker_([title = std::string(title), steps] {
          HWND dialog = nullptr;
          // The window exists before its initialisation has run; it is shown after it.
          if (!wait_until([&] {
                dialog = FindWindowA("#32770", title.c_str());
                return dialog != nullptr && IsWindowVisible(dialog);
              })) {
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

// What a click tells the dialog; a click on a mode radio (1006-1008) also moves the check.
inline void click(HWND dialog, int id) {
  if (id >= 1006 && id <= 1008) CheckRadioButton(dialog, 1006, 1008, id);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline bool still_open(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

}  // namespace redundancy_test
