#pragma once
// A program started with its standard input and output on pipes, talked to line by line.
#include <windows.h>

#include <string>

#include "sys/handles.h"

namespace tambre::test {

class child_process {
 public:
  explicit child_process(const std::string& command_line);
  // Closes the input, gives the program 10 s to end and terminates it after that.
  ~child_process();
  child_process(const child_process&) = delete;
  child_process& operator=(const child_process&) = delete;

  bool started() const { return process_.get() != nullptr; }
  void send(const std::string& line);
  // The next line without its line end; "" when none arrives in time or the output ended.
  std::string read_line(DWORD timeout_ms);
  // The exit code, or STILL_ACTIVE when the program does not end in time.
  DWORD wait_exit(DWORD timeout_ms);

 private:
  bool fill(DWORD timeout_ms);

  sys::unique_handle process_;
  sys::unique_handle input_;
  sys::unique_handle output_;
  std::string pending_;
};

}  // namespace tambre::test
