#pragma once
// A stand-in for the host's main window: a top-level window of this process that answers
// the host message for the four selectors and counts how often it was asked.
#include <windows.h>

#include <string>

namespace tambre::test {

// What a stand-in answers to the selectors of the host message.
struct host_answers {
  LRESULT version = 0x0305;
  LRESULT version2 = 0x00070002;
  bool directory_service = true;  // false: selector 2 gives 0
  bool second_service = true;     // false: selector 3 gives 0
};

class host_window_stand_in {
 public:
  using answers = host_answers;
  // `owner`: the new window is owned by it (such a window is no host window).
  explicit host_window_stand_in(const char* class_name, answers given = answers{}, HWND owner = nullptr);
  ~host_window_stand_in();
  host_window_stand_in(const host_window_stand_in&) = delete;
  host_window_stand_in& operator=(const host_window_stand_in&) = delete;

  HWND handle() const { return window_; }
  // Host messages received so far.
  int asked() const { return asked_; }

  // What the directory service answers (shared by all stand-ins): answered false makes it
  // return 0; the last request's code and argument are kept.
  static void set_directory(const std::string& directory, bool answered = true);
  static DWORD last_code();
  static DWORD last_argument();
  static int service_calls();

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  std::string class_name_;
  answers answers_;
  HWND window_ = nullptr;
  int asked_ = 0;
};

}  // namespace tambre::test
