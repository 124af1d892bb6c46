#include "support/field_instrument_process.h"

#include <fstream>

#ifndef TAMBRE_FIELD_INSTRUMENT_SCRIPT
#error "TAMBRE_FIELD_INSTRUMENT_SCRIPT: the Unix path of tests/support/field_instrument.sh"
#endif
#ifndef TAMBRE_FIELD_INSTRUMENT
#error "TAMBRE_FIELD_INSTRUMENT: the Unix path of the built field instrument"
#endif

namespace tambre::test {

field_instrument_process::field_instrument_process(const std::string& device, const std::string& options) {
  const std::string owner = unix_process_id();
  if (owner.empty()) {
    error_ = "no Unix process id";
    return;
  }
  if (!run_unix_script(
          TAMBRE_FIELD_INSTRUMENT_SCRIPT,
          "start " + dir_.unix_path + " " TAMBRE_FIELD_INSTRUMENT " " + device + " " + owner + " " + options, error_)) {
    return;
  }
  ready_ = wait_for_ready(dir_, error_);
}

field_instrument_process::~field_instrument_process() {
  std::string ignored;
  if (run_unix_script(TAMBRE_FIELD_INSTRUMENT_SCRIPT, "stop " + dir_.unix_path, ignored)) wait_until_removed(dir_);
}

void field_instrument_process::set_mode(const std::string& mode) {
  std::ofstream(dir_.windows_file("control")) << mode << "\n";
}

}  // namespace tambre::test
