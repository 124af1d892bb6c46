#include "net/busy_flag.h"

namespace tambre::net {

bool take_busy_flag(std::atomic<bool>& flag, const std::function<void()>& pause) {
  for (int look = 1;; ++look) {
    if (!flag.exchange(true, std::memory_order_acquire)) return true;
    if (look >= busy_flag_looks) return false;
    pause();
  }
}

}  // namespace tambre::net
