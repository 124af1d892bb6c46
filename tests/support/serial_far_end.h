#pragma once
// The far end of a serial line, opened with the plain Win32 calls (no part of the library):
// what the test writes here arrives at the port under test, and the other way round.
#include <windows.h>

#include <string>

#include "sys/handles.h"

namespace tambre::test {

// `path` ("\\.\COM12") opened with CreateFile at 115200 baud, 8 data bits, no parity, one
// stop bit, no flow control, and the given time-outs; empty when it cannot be opened.
sys::unique_file open_plain_port(const std::string& path, const COMMTIMEOUTS& timeouts);

class serial_far_end {
 public:
  // Opens `path` ("\\.\COM12") at 115200 baud, 8 data bits, no parity, one stop bit.
  explicit serial_far_end(const std::string& path);

  bool is_open() const { return static_cast<bool>(port_); }
  bool write(const std::string& bytes);
  // Reads until `count` bytes have come or `timeout_ms` passed without any; returns them.
  std::string read(std::size_t count, DWORD timeout_ms = 2000);

 private:
  sys::unique_file port_;
};

}  // namespace tambre::test
