// Which time source the calendar core reads: the platform's, or one a test installed.
#include <atomic>

#include "sys/platform.h"

namespace tambre::sys {

namespace {
std::atomic<time_source*> installed{nullptr};
}

time_source& current_time_source() {
  time_source* source = installed.load(std::memory_order_acquire);
  return source != nullptr ? *source : platform_time_source();
}

void set_time_source(time_source* source) { installed.store(source, std::memory_order_release); }

}  // namespace tambre::sys
