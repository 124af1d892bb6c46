#include "support/serial_far_end.h"

#include <algorithm>

namespace tambre::test {

sys::unique_file open_plain_port(const std::string& path, const COMMTIMEOUTS& timeouts) {
  sys::unique_file port(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!port) return port;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(port.get(), &dcb);
  dcb.BaudRate = 115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  SetCommState(port.get(), &dcb);
  COMMTIMEOUTS copy = timeouts;
  SetCommTimeouts(port.get(), &copy);
  return port;
}

// Reads wait at most 20 ms between bytes, so a read loop notices quiet.
serial_far_end::serial_far_end(const std::string& path)
    : port_(open_plain_port(path, COMMTIMEOUTS{MAXDWORD, MAXDWORD, 20, 0, 0})) {}

bool serial_far_end::write(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(port_.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr)) {
      return false;
    }
    done += written;
  }
  return true;
}

std::string serial_far_end::read(std::size_t count, DWORD timeout_ms) {
  std::string bytes;
  DWORD quiet_since = GetTickCount();
  char chunk[4096];
  while (bytes.size() < count && GetTickCount() - quiet_since < timeout_ms) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min(sizeof chunk, count - bytes.size()));
    if (!ReadFile(port_.get(), chunk, want, &n, nullptr)) break;
    if (n > 0) {
      bytes.append(chunk, n);
      quiet_since = GetTickCount();
    }
  }
  return bytes;
}

}  // namespace tambre::test
