#pragma once
// Catches the next message box or dialog of this process, reads it and answers it;
// made before the call that shows the box.
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace tambre::test {

enum class box_icon { none, hand, question, exclamation, asterisk, other };

struct caught_box {
  bool found = false;
  HWND window = nullptr;
  std::string caption;
  std::string text;          // the longest static text of the box
  HWND owner = nullptr;      // GW_OWNER
  std::vector<int> buttons;  // control ids of the visible buttons, in z order
  box_icon icon = box_icon::none;
  bool foreground = false;  // the box was the foreground window when caught
};

class box_catcher {
 public:
  explicit box_catcher(int answer = IDOK, DWORD timeout_ms = 15000);
  ~box_catcher();
  box_catcher(const box_catcher&) = delete;
  box_catcher& operator=(const box_catcher&) = delete;

  caught_box wait();

 private:
  void watch(int answer, DWORD timeout_ms);
  caught_box result_;
  std::thread watcher_;
};

// True when no box of this process is visible right now.
bool no_box_visible();

}  // namespace tambre::test
