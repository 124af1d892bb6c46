#include "io/device_channel_win32.h"

#include <windows.h>

namespace tambre::io {

device_handle win32_device_channel::open(const char* name, bool shared, std::uint32_t& error) {
  HANDLE device = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (device == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return nullptr;
  }
  error = 0;
  return device;
}

std::uint32_t win32_device_channel::control(device_handle device, std::uint32_t code, const void* in,
                                            std::uint32_t in_size, void* out, std::uint32_t out_size,
                                            std::uint32_t& returned) {
  DWORD count = 0;
  // Buffered requests copy the input before they write the output, so the sequence
  // request may pass one record both ways.
  BOOL ok = DeviceIoControl(device, code, const_cast<void*>(in), in_size, out, out_size, &count, nullptr);
  returned = count;
  return ok ? 0 : GetLastError();
}

bool win32_device_channel::close(device_handle device) { return CloseHandle(device) != FALSE; }

}  // namespace tambre::io
