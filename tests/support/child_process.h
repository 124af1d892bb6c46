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
  // output() reads, and the child gets no console window.
  explicit child_process(const std::string& command_line, bool capture_output = false);

  bool started() const { return static_cast<bool>(process_); }
  HANDLE handle() const { return process_.get(); }
  // Everything the child wrote until it closed its end, without the CRs.
  std::string output();
  // The exit code once the child ended within `timeout_ms`; 0xFFFFFFFF otherwise.
  DWORD wait(DWORD timeout_ms = 60000) const;

 private:
  sys::unique_handle process_, thread_, output_;
};

}  // namespace tambre::test
