#include "examples/child_process.h"

namespace tambre::test {

child_process::child_process(const std::string& command_line) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  sys::unique_handle child_input, child_output;
  if (!CreatePipe(child_input.put(), input_.put(), &inherit, 0) ||
      !CreatePipe(output_.put(), child_output.put(), &inherit, 0)) {
    return;
  }
  SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_input.get();
  startup.hStdOutput = child_output.get();
  startup.hStdError = child_output.get();
  PROCESS_INFORMATION process{};
  std::string line = command_line;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    process_.reset(process.hProcess);
  }
}

child_process::~child_process() {
  input_.reset();
  if (process_.get() && wait_exit(10000) == STILL_ACTIVE) TerminateProcess(process_.get(), 1);
}

void child_process::send(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(input_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Reads what the pipe holds, waiting up to `timeout_ms` for something to arrive.
bool child_process::fill(DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(output_.get(), nullptr, 0, nullptr, &available, nullptr)) return false;  // output ended
    if (available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!ReadFile(output_.get(), buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr)) {
        return false;
      }
      pending_.append(buffer, got);
      return true;
    }
    if (GetTickCount64() >= deadline) return false;
    Sleep(5);
  }
}

std::string child_process::read_line(DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline || !fill(static_cast<DWORD>(deadline - now))) return "";
  }
}

DWORD child_process::wait_exit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

}  // namespace tambre::test
