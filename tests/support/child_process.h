#pragma once
// A child process of the test, started from a command line: regsvr32, the script host,
// cmd.exe or this program itself. Its handles close with the object; the process is not
// stopped by that.
#include <windows.h>

#include <string>

#include "sys/handles.h"

namespace tambre::test {

class child_process {
 public:
  // With `capture_output`, the child's standard output and error go into a pipe that
  // output() and read_line() read, and the child gets no console window. With
  // `give_input`, send() writes to the child's standard input; it ends when the object goes.
  explicit child_process(const std::string& command_line, bool capture_output = false, bool give_input = false);

  bool started() const { return static_cast<bool>(process_); }
  HANDLE handle() const { return process_.get(); }
  // Everything the child wrote until it closed its end, without the CRs.
  std::string output();
  // The next line of the output without its line end; "" when none arrives within
  // `timeout_ms` or the output ended.
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
