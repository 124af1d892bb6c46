#pragma once
// A simulated network for the link logic: one millisecond clock, a datagram queue per direction.
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "redundancy/datagram.h"
#include "redundancy/link_logic.h"

namespace tambre::test {

using bytes = std::vector<unsigned char>;

class sim_clock final : public redundancy::tick_source {
 public:
  explicit sim_clock(std::uint32_t start) : now_(start) {}
  std::uint32_t now() override { return now_; }
  // Time moves on; whatever else happens meanwhile (the peer's queries) runs in the hook.
  void sleep(std::uint32_t ms) override {
    for (std::uint32_t i = 0; i < ms; ++i) {
      ++now_;
      if (during_sleep) during_sleep();
    }
    slept += ms;
  }
  void advance(std::uint32_t ms) { now_ += ms; }
  std::function<void()> during_sleep;
  std::uint32_t slept = 0;

 private:
  std::uint32_t now_;
};

// One end of the wire: reads its inbox, sends into the peer's inbox.
class sim_end final : public redundancy::datagram_channel {
 public:
  sim_end(std::deque<bytes>& inbox, std::deque<bytes>& peer_inbox) : inbox_(inbox), peer_inbox_(peer_inbox) {}
  long receive(unsigned char* buffer, std::size_t capacity) override;
  long send(const unsigned char* data, std::size_t size) override;

  std::vector<bytes> sent;  // everything sent
  bool fail_sends = false;

 private:
  std::deque<bytes>& inbox_;
  std::deque<bytes>& peer_inbox_;
};

// Two links, A and B, on one clock and one wire.
struct sim_pair {
  explicit sim_pair(std::uint32_t start = 1000) : clock(start) {}
  sim_clock clock;
  std::deque<bytes> a_inbox, b_inbox;
  sim_end a{a_inbox, b_inbox};
  sim_end b{b_inbox, a_inbox};
  RedundancyHandle link_a{};
  RedundancyHandle link_b{};

  void open_a(std::uint32_t mode, std::uint32_t timeout) { redundancy::start_link(link_a, mode, timeout, clock.now()); }
  void open_b(std::uint32_t mode, std::uint32_t timeout) { redundancy::start_link(link_b, mode, timeout, clock.now()); }
  int query_a() { return redundancy::query_link(link_a, a, clock); }
  int query_b() { return redundancy::query_link(link_b, b, clock); }
};

// A well-formed announcement of a side, as bytes.
bytes announcement(std::uint32_t mode, std::uint32_t timeout, std::uint32_t sequence, std::uint32_t tick);

}  // namespace tambre::test
