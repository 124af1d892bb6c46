#include "support/pty_pair.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "sys/handles.h"

#ifndef TAMBRE_PTY_PAIR_SCRIPT
#error "TAMBRE_PTY_PAIR_SCRIPT: the Unix path of tests/support/pty_pair.sh"
#endif

namespace tambre::test {

namespace {

constexpr int kFirstPort = 20;
constexpr int kLastPort = 250;
constexpr DWORD kScriptWait = 10000;  // ms
constexpr DWORD kPollStep = 5;

std::atomic<int> pairs_made{0};

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

// The Unix process id of this (Wine) process: the first field of /proc/self/stat, which
// the program reads through Wine's Z: drive like any file.
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

}  // namespace

pty_pair::pty_pair() {
  const int index = pairs_made.load();
  near_ = kFirstPort + (2 * index) % (kLastPort - kFirstPort);
  far_ = near_ + 1;
  start();
}

pty_pair::pty_pair(int near_number, int far_number) : near_(near_number), far_(far_number) { start(); }

void pty_pair::start() {
  const int index = pairs_made++;
  // Process ids repeat from run to run under Wine; the clock makes the name new.
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  unix_dir_ = "/tmp/tambre-pty-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(index) + "-" +
              std::to_string(now.QuadPart);
  windows_dir_ = "Z:" + unix_dir_;
  for (char& c : windows_dir_) {
    if (c == '/') c = '\\';
  }
  const std::string owner = unix_process_id();
  if (owner.empty()) {
    error_ = "cannot read Z:\\proc\\self\\stat";
    return;
  }
  if (!run_script("start " + unix_dir_ + " com" + std::to_string(near_) + " com" + std::to_string(far_) + " " +
                  owner)) {
    return;
  }
  const std::string ready = windows_dir_ + "\\ready";
  const std::string failed = windows_dir_ + "\\failed";
  if (!wait_until([&] { return exists(ready) || exists(failed); })) {
    error_ = "pty_pair.sh gave no answer in " + unix_dir_;
  } else if (exists(failed)) {
    error_ = "socat made no pair; see " + unix_dir_ + "/socat.log";
  } else {
    ready_ = true;
  }
}

pty_pair::~pty_pair() {
  if (!run_script("stop " + unix_dir_)) return;
  wait_until([&] { return !exists(windows_dir_); });
}

std::string pty_pair::near_name() const { return "COM" + std::to_string(near_); }
std::string pty_pair::far_name() const { return "COM" + std::to_string(far_); }

bool pty_pair::run_script(const std::string& arguments) {
  std::string command = "/bin/bash " TAMBRE_PTY_PAIR_SCRIPT " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Wine runs a Unix program for this and hands back no process handle.
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    error_ = "cannot start " + command + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  if (process.hThread != nullptr) CloseHandle(process.hThread);
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  return true;
}

}  // namespace tambre::test
