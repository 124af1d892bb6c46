#pragma once
// RAII owners of Windows Sockets resources, beside the handle owners of handles.h.
#include <winsock2.h>

#include "sys/handles.h"

namespace tambre::sys {

namespace detail {
struct socket_traits {
  using value_type = SOCKET;
  static SOCKET invalid() { return INVALID_SOCKET; }
  static void close(SOCKET value) { closesocket(value); }
};
}  // namespace detail

// A socket: INVALID_SOCKET means none.
using unique_socket = unique_resource<detail::socket_traits>;

// One use of the socket library: started by the constructor, ended by the destructor
// unless kept with release().
class winsock_use {
 public:
  explicit winsock_use(WORD version) {
    WSADATA data;
    started_ = WSAStartup(version, &data) == 0;
  }
  winsock_use(const winsock_use&) = delete;
  winsock_use& operator=(const winsock_use&) = delete;
  ~winsock_use() {
    if (started_) WSACleanup();
  }
  explicit operator bool() const { return started_; }
  // Keeps the use for an owner that ends it later.
  void release() { started_ = false; }

 private:
  bool started_ = false;
};

}  // namespace tambre::sys
