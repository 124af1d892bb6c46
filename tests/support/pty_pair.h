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

#include "support/unix_side.h"

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
  // The far end's pseudo-terminal for a Unix program (a link that socat made).
  std::string far_unix_path() const { return dir_.unix_path + "/b"; }

  // Ends socat and removes the ports now, as when the line is cut; the destructor then
  // has nothing left to do.
  void stop();

 private:
  void start();
  int near_ = 0;
  int far_ = 0;
  unix_state_dir dir_{"pty"};
  bool ready_ = false;
  bool stopped_ = false;
  std::string error_;
};

}  // namespace tambre::test
