#pragma once
// Helpers of the Windows test programs that start scripts on Wine's Unix side: the Unix
// process id of the test program, a fresh state directory under /tmp that both sides name,
// and the start of a script (Wine hands back no process handle for a Unix program, so the
// script reports through files in its state directory).
#include <string>

namespace tambre::test {

// The Unix process id of this (Wine) process; "" when it cannot be read.
std::string unix_process_id();

struct unix_state_dir {
  // /tmp/tambre-<stem>-<pid>-<counter>-<clock>, not created.
  explicit unix_state_dir(const std::string& stem);
  std::string unix_path;
  std::string windows_path;  // the same through the Z: drive
  std::string windows_file(const std::string& name) const { return windows_path + "\\" + name; }
};

// Starts "/bin/bash <script> <arguments>"; false with `error` set when it cannot start.
bool run_unix_script(const std::string& script, const std::string& arguments, std::string& error);

// Waits (10 s at most) until the state directory holds "ready" (true) or "failed".
bool wait_for_ready(const unix_state_dir& dir, std::string& error);

// Waits (10 s at most) until the state directory is gone.
void wait_until_removed(const unix_state_dir& dir);

}  // namespace tambre::test
