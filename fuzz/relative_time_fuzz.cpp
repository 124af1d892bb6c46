// ScanHDATime: arbitrary relative expressions (NOW, DAY-1D, MONTH+1MO-1D ...) against a
// clock in the night of a daylight-saving change. Hours, minutes and seconds are added
// without a range check, so any time value can come out; blanks after the expression
// change nothing.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz_input.h"
#include "time/calendar.h"
#include "time/time_text.h"

namespace tt = tambre::time;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::fuzz::use_fixed_clock();
  const std::unique_ptr<char[]> text = tambre::fuzz::input(data, size).rest_as_text();
  const tt::time_value t = tt::scan_relative_time(text.get());
  const std::string padded = std::string(text.get()) + " \t ";
  if (padded.size() <= tt::scanned_text_length && tt::scan_relative_time(padded.c_str()) != t) std::abort();
  return 0;
}
