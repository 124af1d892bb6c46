#include "support/child_process.h"

namespace tambre::test {

child_process::child_process(const std::string& command_line, bool capture_output) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  sys::unique_handle write_end;
  if (capture_output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(output_.put(), write_end.put(), &inherit, 0)) return;
    SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write_end.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  }
  PROCESS_INFORMATION process{};
  std::string line = command_line;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, capture_output, capture_output ? CREATE_NO_WINDOW : 0,
                     nullptr, nullptr, &startup, &process)) {
    process_.reset(process.hProcess);
    thread_.reset(process.hThread);
  }
}

std::string child_process::output() {
  std::string text;
  char buffer[512];
  DWORD got = 0;
  while (output_ && ReadFile(output_.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] != '\r') text += buffer[i];
    }
  }
  return text;
}

DWORD child_process::wait(DWORD timeout_ms) const {
  DWORD code = 0xFFFFFFFF;
  if (process_ && WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process_.get(), &code);
  }
  return code;
}

}  // namespace tambre::test
