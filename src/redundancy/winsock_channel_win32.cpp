#include "redundancy/winsock_channel.h"

#include <windows.h>

namespace tambre::redundancy {

winsock_channel::winsock_channel(SOCKET socket, std::uint32_t address, std::uint16_t port) : socket_(socket) {
  peer_.sin_family = AF_INET;
  peer_.sin_addr.s_addr = address;
  peer_.sin_port = port;
}

long winsock_channel::receive(unsigned char* buffer, std::size_t capacity) {
  sockaddr_in from{};
  int from_length = sizeof from;
  const int length = recvfrom(socket_, reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
                              reinterpret_cast<sockaddr*>(&from), &from_length);
  if (length != SOCKET_ERROR) return length;
  // A datagram longer than the buffer is taken from the socket all the same.
  if (WSAGetLastError() == WSAEMSGSIZE) return static_cast<long>(capacity) + 1;
  return -1;
}

long winsock_channel::send(const unsigned char* data, std::size_t size) {
  const int sent = sendto(socket_, reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                          reinterpret_cast<const sockaddr*>(&peer_), sizeof peer_);
  return sent == SOCKET_ERROR ? -1 : sent;
}

std::uint32_t system_ticks::now() { return GetTickCount(); }

void system_ticks::sleep(std::uint32_t ms) { Sleep(ms); }

}  // namespace tambre::redundancy
