#pragma once
// The zone the calendar benchmarks run in: ours from a fixed Central European zone record,
// glibc's from Europe/Berlin, so both sides convert the same local times.
#include <cstdlib>
#include <ctime>

#include "support/fixed_time_source.h"
#include "time/zone_state.h"

namespace tambre::bench {

inline void use_central_european_zone() {
  static test::fixed_time_source source;
  sys::time_seam().install(&source);
  time::read_zone();
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
}

}  // namespace tambre::bench
