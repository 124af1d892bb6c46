#pragma once
// A hidden window of the calling thread that counts the messages it receives, for tests
// of message loops.
#include <windows.h>

#include <map>

namespace tambre::test {

class counting_window {
 public:
  counting_window();
  ~counting_window();
  counting_window(const counting_window&) = delete;
  counting_window& operator=(const counting_window&) = delete;

  HWND handle() const { return window_; }
  int count(UINT message) const;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND window_ = nullptr;
  std::map<UINT, int> counts_;
};

}  // namespace tambre::test
