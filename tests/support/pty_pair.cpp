#include "support/pty_pair.h"

#include <windows.h>

#include <atomic>
#include <fstream>

#include "support/eventually.h"
#include "sys/handles.h"

#if !defined(TAMBRE_UNIX_SIDE_SCRIPT) || !defined(TAMBRE_FIELD_INSTRUMENT)
#error "TAMBRE_UNIX_SIDE_SCRIPT and TAMBRE_FIELD_INSTRUMENT: Unix paths of unix_side.sh and the instrument"
#endif

namespace tambre::test {

namespace {

std::atomic<int> dirs_made{0};
std::atomic<int> pairs_made{0};

bool exists(const std::string& windows_path) {
  return GetFileAttributesA(windows_path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The first field of /proc/self/stat: the Unix process id of this (Wine) process.
std::string unix_process_id() {
  sys::unique_file stat(
      CreateFileA("Z:\\proc\\self\\stat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  char text[64] = "";
  DWORD n = 0;
  if (!stat || !ReadFile(stat.get(), text, sizeof text - 1, &n, nullptr)) return "";
  return std::string(text, n).substr(0, std::string(text, n).find(' '));
}

// Runs unix_side.sh; waits for "ready" or "failed" in the state directory, or for its end.
bool run_script(const std::string& arguments, const unix_state_dir& dir, bool wait_ready, std::string& error) {
  std::string command = "/bin/bash " TAMBRE_UNIX_SIDE_SCRIPT " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    error = "cannot start " + command + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  if (process.hThread != nullptr) CloseHandle(process.hThread);
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  if (!wait_ready) return eventually([&] { return !exists(dir.windows_path); }, 10000);
  const std::string ready = dir.windows_path + "\\ready", failed = dir.windows_path + "\\failed";
  if (!eventually([&] { return exists(ready) || exists(failed); }, 10000)) {
    error = "no answer in " + dir.unix_path;
  } else if (exists(failed)) {
    error = "failed; see " + dir.unix_path;
  }
  return error.empty();
}

}  // namespace

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

pty_pair::pty_pair() : pty_pair(20 + (2 * pairs_made.load()) % 230, 21 + (2 * pairs_made.load()) % 230) {}

pty_pair::pty_pair(int near_number, int far_number) : near_(near_number), far_(far_number) {
  ++pairs_made;
  const std::string owner = unix_process_id();
  if (owner.empty()) {
    error_ = "cannot read Z:\\proc\\self\\stat";
    return;
  }
  ready_ = run_script(
      "pty-start " + dir_.unix_path + " com" + std::to_string(near_) + " com" + std::to_string(far_) + " " + owner,
      dir_, true, error_);
}

void pty_pair::stop() {
  if (stopped_) return;
  stopped_ = true;
  std::string ignored;
  run_script("pty-stop " + dir_.unix_path, dir_, false, ignored);
}

field_instrument_process::field_instrument_process(const std::string& device, const std::string& options) {
  const std::string owner = unix_process_id();
  if (owner.empty()) {
    error_ = "no Unix process id";
    return;
  }
  ready_ = run_script(
      "instrument-start " + dir_.unix_path + " " TAMBRE_FIELD_INSTRUMENT " " + device + " " + owner + " " + options,
      dir_, true, error_);
}

field_instrument_process::~field_instrument_process() {
  std::string ignored;
  run_script("instrument-stop " + dir_.unix_path, dir_, false, ignored);
}

void field_instrument_process::set_mode(const std::string& mode) {
  std::ofstream(dir_.windows_path + "\\control") << mode << "\n";
}

}  // namespace tambre::test
