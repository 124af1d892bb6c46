#pragma once
// The datagram channel of a redundancy link on its non-blocking UDP socket.
#include <winsock2.h>

#include "redundancy/link_logic.h"

namespace tambre::redundancy {

class winsock_channel final : public datagram_channel {
 public:
  // Sends go to `address`:`port` (both in network byte order).
  winsock_channel(SOCKET socket, std::uint32_t address, std::uint16_t port);
  long receive(unsigned char* buffer, std::size_t capacity) override;
  long send(const unsigned char* data, std::size_t size) override;

 private:
  SOCKET socket_;
  sockaddr_in peer_{};
};

// GetTickCount and Sleep.
class system_ticks final : public tick_source {
 public:
  std::uint32_t now() override;
  void sleep(std::uint32_t ms) override;
};

}  // namespace tambre::redundancy
