#pragma once
// The simulated field instrument (examples/field_instrument), started on the Unix side on
// the far end of a pty_pair and stopped when the object goes (or when the test program
// ends). Its fault mode changes while it runs through its control file.
//
//   tambre::test::field_instrument_process instrument(pair.far_unix_path());
//   ASSERT_TRUE(instrument.ready()) << instrument.error();
//   instrument.set_mode("silent");
#include <string>

#include "support/unix_side.h"

namespace tambre::test {

class field_instrument_process {
 public:
  // `options`: further options of the instrument, e.g. "--mode badcrc".
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
