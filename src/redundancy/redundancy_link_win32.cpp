// The exported redundancy link: opening its UDP socket, closing it, and querying it.
#include <winsock2.h>

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "net/ipv4_text.h"
#include "redundancy/link_logic.h"
#include "redundancy/winsock_channel.h"
#include "sys/socket_handles.h"
#include "tambre32/redundancy.h"

namespace {

constexpr unsigned short default_port = 10990;
constexpr std::size_t max_remote_name = 63;

// The port of the port text: 10990 for null, 0 for anything that is not 1 to 65535.
unsigned long port_of(const char* text) {
  if (text == nullptr) return default_port;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || value <= 0 || value > 65535) return 0;
  return static_cast<unsigned long>(value);
}

// The remote's IPv4 address: dotted text as it is, otherwise the name's first address.
bool resolve(const char* remote, std::uint32_t& address) {
  address = tambre::net::parse_ipv4(remote);
  if (address != tambre::net::invalid_address) return true;
  const hostent* host = gethostbyname(remote);
  if (host == nullptr || host->h_length != 4 || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr) {
    return false;
  }
  std::memcpy(&address, host->h_addr_list[0], 4);
  return true;
}

tambre::sys::unique_socket open_socket(unsigned short port) {
  tambre::sys::unique_socket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  if (!socket) return socket;
  // Datagram sockets have nothing to linger for, and some stacks refuse the option on
  // them: its result decides nothing.
  const linger no_linger{0, 0};
  setsockopt(socket.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&no_linger), sizeof no_linger);
  const BOOL reuse = TRUE;
  u_long non_blocking = 1;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(port);
  if (setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse) != 0 ||
      ioctlsocket(socket.get(), FIONBIO, &non_blocking) != 0 ||
      bind(socket.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    socket.reset();
  }
  return socket;
}

}  // namespace

TAMBRE_EXPORT(RedundancyHandle*, TAMBRE_STDCALL)
OpenRedundancy(const char* remote, const char* port, int mode, unsigned int timeout, void* /*reserved*/) {
  const unsigned long port_number = port_of(port);
  if (port_number == 0) return nullptr;
  if (remote == nullptr || remote[0] == '\0' || std::strlen(remote) > max_remote_name) return nullptr;
  if (mode != static_cast<int>(tambre::redundancy::mode_master) &&
      mode != static_cast<int>(tambre::redundancy::mode_standby)) {
    return nullptr;
  }

  tambre::sys::winsock_use winsock(MAKEWORD(1, 1));
  if (!winsock) return nullptr;
  std::uint32_t address = 0;
  if (!resolve(remote, address)) return nullptr;
  tambre::sys::unique_socket socket = open_socket(static_cast<unsigned short>(port_number));
  if (!socket) return nullptr;

  auto* handle = new (std::nothrow) RedundancyHandle{};
  if (handle == nullptr) return nullptr;
  tambre::redundancy::start_link(*handle, static_cast<std::uint32_t>(mode), timeout, GetTickCount());
  std::memcpy(handle->RemoteName, remote, std::strlen(remote) + 1);
  handle->RemoteAddress = address;
  handle->Port = htons(static_cast<u_short>(port_number));
  handle->Socket = socket.release();
  winsock.release();  // the caller ends this use with CloseRedundancy(NULL)
  return handle;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) CloseRedundancy(RedundancyHandle* handle) {
  if (handle == nullptr) {
    WSACleanup();
    return 0;
  }
  closesocket(static_cast<SOCKET>(handle->Socket));
  delete handle;
  return 1;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) QueryRedundancy(RedundancyHandle* handle, void* /*reserved*/) {
  if (handle == nullptr) return 0;
  tambre::redundancy::winsock_channel channel(static_cast<SOCKET>(handle->Socket), handle->RemoteAddress, handle->Port);
  tambre::redundancy::system_ticks clock;
  return tambre::redundancy::query_link(*handle, channel, clock);
}
