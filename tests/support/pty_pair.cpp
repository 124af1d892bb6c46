#include "support/pty_pair.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#ifndef TAMBRE_PTY_PAIR_SCRIPT
#error "TAMBRE_PTY_PAIR_SCRIPT: the Unix path of tests/support/pty_pair.sh"
#endif

namespace tambre::test {

namespace {

constexpr int kFirstPort = 20;
constexpr int kLastPort = 250;

std::atomic<int> pairs_made{0};

}  // namespace

pty_pair::pty_pair() {
  const int index = pairs_made.load();
  near_ = kFirstPort + (2 * index) % (kLastPort - kFirstPort);
  far_ = near_ + 1;
  start();
}

pty_pair::pty_pair(int near_number, int far_number) : near_(near_number), far_(far_number) { start(); }

void pty_pair::start() {
  ++pairs_made;
  const std::string owner = unix_process_id();
  if (owner.empty()) {
    error_ = "cannot read Z:\\proc\\self\\stat";
    return;
  }
  if (!run_unix_script(
          TAMBRE_PTY_PAIR_SCRIPT,
          "start " + dir_.unix_path + " com" + std::to_string(near_) + " com" + std::to_string(far_) + " " + owner,
          error_)) {
    return;
  }
  if (!wait_for_ready(dir_, error_)) {
    error_ = "pty_pair.sh: " + error_ + " (socat.log)";
  } else {
    ready_ = true;
  }
}

pty_pair::~pty_pair() { stop(); }

void pty_pair::stop() {
  if (stopped_) return;
  stopped_ = true;
  if (!run_unix_script(TAMBRE_PTY_PAIR_SCRIPT, "stop " + dir_.unix_path, error_)) return;
  wait_until_removed(dir_);
}

std::string pty_pair::near_name() const { return "COM" + std::to_string(near_); }
std::string pty_pair::far_name() const { return "COM" + std::to_string(far_); }

}  // namespace tambre::test
