#pragma once
// Captures what this process writes to the debugger (OutputDebugStringA raises
// DBG_PRINTEXCEPTION_C, which a vectored handler sees first) and, on request, swallows one
// kind of structured exception so that execution goes on behind RaiseException.
#include <windows.h>

#include <string>
#include <vector>

namespace tambre::test {

class debug_output_capture {
 public:
  // `swallow`: an exception code to count and continue past (0: none).
  explicit debug_output_capture(DWORD swallow = 0);
  ~debug_output_capture();
  debug_output_capture(const debug_output_capture&) = delete;
  debug_output_capture& operator=(const debug_output_capture&) = delete;

  std::vector<std::string> lines() const;
  int swallowed() const;

 private:
  PVOID handler_;
};

}  // namespace tambre::test
