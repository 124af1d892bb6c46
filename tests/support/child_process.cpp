#include "support/child_process.h"

#include <algorithm>
#include <utility>

namespace tambre::test {

child_process::child_process(const std::string& command_line, bool capture_output, bool give_input) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  sys::unique_handle write_end, read_end;
  if (capture_output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(output_.put(), write_end.put(), &inherit, 0)) return;
    SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write_end.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    if (give_input) {
      if (!CreatePipe(read_end.put(), input_.put(), &inherit, 0)) return;
      SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
      startup.hStdInput = read_end.get();
    }
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
  std::string text = std::move(pending_);
  pending_.clear();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  char buffer[512];
  DWORD got = 0;
  while (output_ && ReadFile(output_.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] != '\r') text += buffer[i];
    }
  }
  return text;
}

// Takes what the pipe holds, waiting up to `timeout_ms` for something to arrive.
bool child_process::fill(DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    DWORD available = 0;
    if (!output_ || !PeekNamedPipe(output_.get(), nullptr, 0, nullptr, &available, nullptr)) return false;
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

void child_process::send(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  if (input_) WriteFile(input_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

DWORD child_process::wait(DWORD timeout_ms) const {
  DWORD code = 0xFFFFFFFF;
  if (process_ && WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process_.get(), &code);
  }
  return code;
}

}  // namespace tambre::test
