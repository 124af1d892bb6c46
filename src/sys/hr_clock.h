#pragma once
#include <cstdint>

namespace tambre::sys {

// Counts per second of the high-resolution counter, read once at process attach.
std::int64_t counter_frequency();

}  // namespace tambre::sys
