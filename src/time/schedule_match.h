#pragma once
// The process-wide breakdown cache of timespec::match.

namespace tambre::time {

// Forgets the cached time value, so that the next match breaks its time down afresh.
void forget_match_cache();

}  // namespace tambre::time
