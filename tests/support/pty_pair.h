#pragma once
// Two serial ports of the Wine prefix joined back to back: what one end writes, the other
// reads. Made from a pair of pseudo-terminals by socat (tests/support/pty_pair.sh), linked
// as dosdevices/comN, removed again when the object goes.
//
//   tambre::test::pty_pair pair;             // ASSERT_TRUE(pair.ready()) << pair.error();
//   port.Open(pair.near_config("9600,N,8,1").c_str());
//   tambre::test::serial_far_end far(pair.far_path());
//
// It runs inside the Windows test program: Wine starts /bin/bash on its Unix side. The
// script's path comes from the build (TAMBRE_PTY_PAIR_SCRIPT, a Unix path).
#include <string>

namespace tambre::test {

class pty_pair {
 public:
  // Ports COMnear and COMfar; by default a fresh pair of numbers from 20 up.
  pty_pair();
  pty_pair(int near_number, int far_number);
  ~pty_pair();
  pty_pair(const pty_pair&) = delete;
  pty_pair& operator=(const pty_pair&) = delete;

  bool ready() const { return ready_; }
  const std::string& error() const { return error_; }

  int near_number() const { return near_; }
  int far_number() const { return far_; }
  // "COM11" and "\\.\COM11".
  std::string near_name() const;
  std::string far_name() const;
  std::string near_path() const { return "\\\\.\\" + near_name(); }
  std::string far_path() const { return "\\\\.\\" + far_name(); }
  // The near end's configuration string with the given settings: "COM11:" + settings.
  std::string near_config(const std::string& settings) const { return near_name() + ":" + settings; }

 private:
  void start();
  bool run_script(const std::string& arguments);
  int near_ = 0;
  int far_ = 0;
  std::string unix_dir_;
  std::string windows_dir_;
  bool ready_ = false;
  std::string error_;
};

}  // namespace tambre::test
