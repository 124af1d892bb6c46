// Feeds arbitrary datagrams and clock steps to a master and a standby link: the answers
// stay in their ranges, everything a link sends is a well-formed announcement of its own
// side with a counter that never skips or repeats, and a standby answers -1 only when its
// master has been silent for longer than the larger timeout.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "redundancy/datagram.h"
#include "redundancy/link_logic.h"

namespace {

using namespace tambre::redundancy;

class fuzz_clock final : public tick_source {
 public:
  std::uint32_t now() override { return now_; }
  void sleep(std::uint32_t ms) override { now_ += ms; }
  void advance(std::uint32_t ms) { now_ += ms; }

 private:
  std::uint32_t now_ = 0xFFFFF000u;  // wraps during the run
};

class fuzz_channel final : public datagram_channel {
 public:
  explicit fuzz_channel(std::uint32_t mode) : mode_(mode) {}
  long receive(unsigned char* buffer, std::size_t capacity) override {
    if (inbox.empty()) return -1;
    const std::vector<unsigned char> datagram = inbox.front();
    inbox.pop_front();
    std::copy_n(datagram.begin(), datagram.size() < capacity ? datagram.size() : capacity, buffer);
    return static_cast<long>(datagram.size() > capacity ? capacity + 1 : datagram.size());
  }
  long send(const unsigned char* data, std::size_t size) override {
    if (size != datagram_size || data[0] != datagram_magic0 || data[1] != datagram_magic1) std::abort();
    unsigned char exact[datagram_size];
    std::memcpy(exact, data, datagram_size);
    const datagram sent = decode(exact);
    if (sent.mode != mode_ || sent.sequence == 0) std::abort();
    if (last_sequence_ != 0 && sent.sequence != (last_sequence_ == 0xFFFFFFFFu ? 1u : last_sequence_ + 1)) {
      std::abort();
    }
    for (unsigned char zero : sent.reserved) {
      if (zero != 0) std::abort();
    }
    last_sequence_ = sent.sequence;
    return fail_next ? -1 : static_cast<long>(size);
  }
  std::deque<std::vector<unsigned char>> inbox;
  bool fail_next = false;

 private:
  std::uint32_t mode_;
  std::uint32_t last_sequence_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_clock clock;
  fuzz_channel master_channel(mode_master), standby_channel(mode_standby);
  RedundancyHandle master{}, standby{};
  start_link(master, mode_master, 300, clock.now());
  start_link(standby, mode_standby, 300, clock.now());

  // Each step: a control byte, a length byte, that many bytes of datagram, a clock step.
  std::size_t at = 0;
  while (at + 3 <= size) {
    const std::uint8_t control = data[at];
    std::size_t length = data[at + 1];
    // Lengths near 32 are the interesting ones; make them likely.
    if (control & 0x80) length = 32 - (length & 1);
    at += 2;
    if (length > size - at) length = size - at;
    std::vector<unsigned char> datagram(data + at, data + at + length);
    at += length;
    if (control & 0x40) {
      // Often well-formed, so the accepting paths are reached.
      if (datagram.size() >= 4) {
        datagram[0] = datagram_magic0;
        datagram[1] = datagram_magic1;
      }
    }
    const bool to_standby = control & 1;
    (to_standby ? standby_channel : master_channel).inbox.push_back(datagram);
    master_channel.fail_next = control & 2;
    clock.advance((control & 0x3C) * 8u);

    const int m = query_link(master, master_channel, clock);
    if (m != 1 && m != -1 && m != 0) std::abort();

    const std::uint32_t contact_before = standby.LastContact;
    const bool startup_before = standby.Flags & flag_startup;
    const int s = query_link(standby, standby_channel, clock);
    if (s != 1 && s != -1) std::abort();
    if (s == -1) {
      const std::int32_t peer = static_cast<std::int32_t>(standby.PeerTimeout);
      const std::int32_t own = static_cast<std::int32_t>(standby.AliveTimeout);
      const std::uint32_t limit = static_cast<std::uint32_t>(peer > own ? peer : own);
      if (startup_before || clock.now() - standby.LastContact <= limit) std::abort();
      if (standby.LastContact != contact_before) std::abort();
    }
  }
  return 0;
}
