#include <windows.h>

#include "sys/hr_clock.h"

namespace tambre::sys {

namespace {
std::int64_t frequency = 0;
}

void read_counter_frequency() {
  LARGE_INTEGER f;
  frequency = QueryPerformanceFrequency(&f) ? f.QuadPart : 0;
}

std::int64_t counter_frequency() {
  if (frequency == 0) read_counter_frequency();  // linked without a process attach
  return frequency;
}

}  // namespace tambre::sys
