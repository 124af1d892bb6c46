#pragma once
// A one-byte flag that serialises a lazy load between threads without a lock object.
#include <atomic>
#include <functional>

namespace tambre::net {

// Looks a loader makes at a held flag before it gives up, with `pause` between looks
// (20 ms each in the library: about 1.5 s in all).
constexpr int busy_flag_looks = 76;

// Tests and sets the flag as one step; while another thread holds it, pauses and looks
// again. False when the flag is still held at the last look.
bool take_busy_flag(std::atomic<bool>& flag, const std::function<void()>& pause);

}  // namespace tambre::net
