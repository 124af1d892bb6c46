#pragma once
// A child process of the test; its handles close with the object, the process runs on.
#include <windows.h>

#include <string>

#include "sys/handles.h"

namespace tambre::test {

class child_process {
 public:
  // capture_output: stdout and stderr into a pipe, no console; give_input: a stdin for send().
  explicit child_process(const std::string& command_line, bool capture_output = false, bool give_input = false);

  bool started() const { return static_cast<bool>(process_); }
  HANDLE handle() const { return process_.get(); }
  // Everything the child wrote until it closed its end, without the CRs.
  std::string output();
  // The next line without its end; "" when none comes in `timeout_ms`.
  std::string read_line(DWORD timeout_ms);
  void send(const std::string& line);
  // The exit code once the child ended within `timeout_ms`; 0xFFFFFFFF otherwise.
  DWORD wait(DWORD timeout_ms = 60000) const;

 private:
  bool fill(DWORD timeout_ms);

  sys::unique_handle process_, thread_, output_, input_;
  std::string pending_;  // read, not yet returned by read_line
};

}  // namespace tambre::test
