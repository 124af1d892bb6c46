#include "support/unix_side.h"

#include <windows.h>

#include <atomic>

#include "sys/handles.h"

namespace tambre::test {

namespace {

constexpr DWORD kScriptWait = 10000;  // ms
constexpr DWORD kPollStep = 5;

std::atomic<int> dirs_made{0};

bool exists(const std::string& windows_path) {
  return GetFileAttributesA(windows_path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Polls until `done` holds or the time is up.
template <typename Condition>
bool wait_until(Condition done) {
  for (DWORD waited = 0; waited < kScriptWait; waited += kPollStep) {
    if (done()) return true;
    Sleep(kPollStep);
  }
  return done();
}

}  // namespace

// The first field of /proc/self/stat, which the program reads through Wine's Z: drive.
std::string unix_process_id() {
  sys::unique_file stat(
      CreateFileA("Z:\\proc\\self\\stat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!stat) return "";
  char text[64] = "";
  DWORD n = 0;
  ReadFile(stat.get(), text, sizeof text - 1, &n, nullptr);
  text[n] = '\0';
  std::string id(text);
  return id.substr(0, id.find(' '));
}

unix_state_dir::unix_state_dir(const std::string& stem) {
  // Process ids repeat from run to run under Wine; the clock makes the name new.
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  unix_path = "/tmp/tambre-" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(dirs_made++) +
              "-" + std::to_string(now.QuadPart);
  windows_path = "Z:" + unix_path;
  for (char& c : windows_path) {
    if (c == '/') c = '\\';
  }
}

bool run_unix_script(const std::string& script, const std::string& arguments, std::string& error) {
  std::string command = "/bin/bash " + script + " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Wine runs a Unix program for this and hands back no process handle.
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    error = "cannot start " + command + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  if (process.hThread != nullptr) CloseHandle(process.hThread);
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  return true;
}

bool wait_for_ready(const unix_state_dir& dir, std::string& error) {
  const std::string ready = dir.windows_file("ready");
  const std::string failed = dir.windows_file("failed");
  if (!wait_until([&] { return exists(ready) || exists(failed); })) {
    error = "no answer in " + dir.unix_path;
    return false;
  }
  if (exists(failed)) {
    error = "failed; see " + dir.unix_path;
    return false;
  }
  return true;
}

void wait_until_removed(const unix_state_dir& dir) {
  wait_until([&] { return !exists(dir.windows_path); });
}

}  // namespace tambre::test
