#pragma once
// The decision logic of a redundancy link: who is in charge, when to announce. It reaches
// the network and the clock only through the two interfaces below, so it runs the same on
// a real socket and on a simulated one.
#include <cstddef>
#include <cstdint>

#include "tambre32/redundancy.h"

namespace tambre::redundancy {

constexpr std::uint32_t mode_master = 1;
constexpr std::uint32_t mode_standby = 2;
constexpr std::uint32_t default_alive_timeout = 8000;
constexpr std::uint32_t flag_startup = 1;
constexpr std::uint32_t status_online = 1;
// A master polls this often while it waits for a standby in its start-up window.
constexpr std::uint32_t startup_poll_ms = 10;

class datagram_channel {
 public:
  virtual ~datagram_channel() = default;
  // Takes one waiting datagram without waiting: its length (a datagram longer than
  // `capacity` reports more than `capacity`), or -1 when none is waiting or receiving failed.
  virtual long receive(unsigned char* buffer, std::size_t capacity) = 0;
  // Sends one datagram to the peer: the number of bytes sent, or -1.
  virtual long send(const unsigned char* data, std::size_t size) = 0;
};

class tick_source {
 public:
  virtual ~tick_source() = default;
  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual std::uint32_t now() = 0;
  virtual void sleep(std::uint32_t ms) = 0;
};

// The alive timeout T of a timeout argument: its low 24 bits, 8000 when they are 0.
std::uint32_t alive_timeout_of(std::uint32_t timeout_argument);

// Fills the decision fields of a zeroed handle at opening time `now`.
void start_link(RedundancyHandle& link, std::uint32_t mode, std::uint32_t timeout_argument, std::uint32_t now);

// One query: 1 the master is in charge, -1 the standby is, 0 the master's announcement
// could not be sent.
int query_link(RedundancyHandle& link, datagram_channel& channel, tick_source& clock);

}  // namespace tambre::redundancy
