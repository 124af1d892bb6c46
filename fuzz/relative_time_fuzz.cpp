// ScanHDATime: arbitrary relative expressions (NOW, DAY-1D, MONTH+1MO-1D ...) against a
// clock in the night of a daylight-saving change; the result is no time or a valid time.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "fuzz_input.h"
#include "time/calendar.h"
#include "time/time_text.h"

namespace tt = tambre::time;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::fuzz::use_fixed_clock();
  const std::unique_ptr<char[]> text = tambre::fuzz::input(data, size).rest_as_text();
  const tt::time_value t = tt::scan_relative_time(text.get());
  if (t != tt::no_time && t > tt::last_time) std::abort();
  return 0;
}
