#pragma once
#include <cstdint>

namespace tambre::sys {

// Counter ticks as microseconds, split so that large counters do not overflow; 0 for a
// missing counter (frequency 0).
constexpr std::int64_t counter_to_microseconds(std::int64_t counter, std::int64_t frequency) {
  if (frequency <= 0) return 0;
  return (counter / frequency) * 1000000 + ((counter % frequency) * 1000000) / frequency;
}

}  // namespace tambre::sys
