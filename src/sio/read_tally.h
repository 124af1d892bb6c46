#pragma once
// Bytes CSio::Read has taken on the calling thread, ever. The queue watch compares it
// around a receive notification to tell what the notification read from what arrived
// while it ran.
#include <cstdint>

namespace tambre::sio {

std::uint64_t& bytes_read_on_this_thread();

}  // namespace tambre::sio
