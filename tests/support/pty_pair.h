#pragma once
// Two serial ports of the Wine prefix joined back to back by socat over a pair of
// pseudo-terminals (dosdevices/comN), and the simulated field instrument on a Unix serial
// device; both run through unix_side.sh and go with the object.
#include <string>

namespace tambre::test {

// /tmp/tambre-<stem>-<pid>-<counter>-<clock>, named from both sides, made by the script.
struct unix_state_dir {
  explicit unix_state_dir(const std::string& stem);
  std::string unix_path;
  std::string windows_path;  // the same through the Z: drive
};

class pty_pair {
 public:
  // Ports COMnear and COMfar; by default a fresh pair of numbers from 20 up.
  pty_pair();
  pty_pair(int near_number, int far_number);
  ~pty_pair() { stop(); }
  pty_pair(const pty_pair&) = delete;
  pty_pair& operator=(const pty_pair&) = delete;

  bool ready() const { return ready_; }
  const std::string& error() const { return error_; }
  std::string near_name() const { return "COM" + std::to_string(near_); }
  std::string far_name() const { return "COM" + std::to_string(far_); }
  std::string far_path() const { return "\\\\.\\" + far_name(); }
  std::string near_config(const std::string& settings) const { return near_name() + ":" + settings; }
  // The far end's pseudo-terminal for a Unix program.
  std::string far_unix_path() const { return dir_.unix_path + "/b"; }
  // Ends socat and removes the ports now, as when the line is cut.
  void stop();

 private:
  int near_ = 0;
  int far_ = 0;
  unix_state_dir dir_{"pty"};
  bool ready_ = false;
  bool stopped_ = false;
  std::string error_;
};

class field_instrument_process {
 public:
  explicit field_instrument_process(const std::string& device, const std::string& options = "");
  ~field_instrument_process();
  field_instrument_process(const field_instrument_process&) = delete;
  field_instrument_process& operator=(const field_instrument_process&) = delete;

  bool ready() const { return ready_; }
  const std::string& error() const { return error_; }
  // "normal", "silent", "badcrc", optionally followed by a delay in ms.
  void set_mode(const std::string& mode);

 private:
  unix_state_dir dir_{"instrument"};
  bool ready_ = false;
  std::string error_;
};

}  // namespace tambre::test
