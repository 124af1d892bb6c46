#include "support/serial_far_end.h"

#include <algorithm>

namespace tambre::test {

serial_far_end::serial_far_end(const std::string& path)
    : port_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
  if (!port_) return;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(port_.get(), &dcb);
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
  SetCommState(port_.get(), &dcb);
  // Reads wait at most 20 ms between bytes, so a read loop notices quiet.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = 20;
  SetCommTimeouts(port_.get(), &timeouts);
}

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
