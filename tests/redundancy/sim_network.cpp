#include "redundancy/sim_network.h"

#include <algorithm>
#include <cstring>

namespace tambre::test {

long sim_end::receive(unsigned char* buffer, std::size_t capacity) {
  if (inbox_.empty()) return -1;
  const bytes datagram = inbox_.front();
  inbox_.pop_front();
  std::memcpy(buffer, datagram.data(), std::min(capacity, datagram.size()));
  return static_cast<long>(datagram.size() > capacity ? capacity + 1 : datagram.size());
}

long sim_end::send(const unsigned char* data, std::size_t size) {
  if (fail_sends) return -1;
  sent.emplace_back(data, data + size);
  peer_inbox_.emplace_back(data, data + size);
  return static_cast<long>(size);
}

bytes announcement(std::uint32_t mode, std::uint32_t timeout, std::uint32_t sequence, std::uint32_t tick) {
  unsigned char raw[redundancy::datagram_size];
  redundancy::encode(redundancy::make_announcement(mode, timeout, sequence, tick), raw);
  return bytes(raw, raw + sizeof raw);
}

}  // namespace tambre::test
