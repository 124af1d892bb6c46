#pragma once
#include <cstdint>

namespace tambre::sys {

// Counts per second of the high-resolution counter, read once at process attach.
std::int64_t counter_frequency();

// Reads the frequency; the DLL entry calls it at process attach.
void read_counter_frequency();

}  // namespace tambre::sys
