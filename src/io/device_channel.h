#pragma once
// The narrow road to the kernel device: open it by name, send it device control requests,
// close it. The library calls CreateFileA/DeviceIoControl/CloseHandle behind this; tests
// put a simulated device here that answers the same requests with the same bytes.

#include <cstdint>

namespace tambre::io {

// A handle of the device as the caller sees it (a HANDLE on Windows); null is none.
using device_handle = void*;

class device_channel {
 public:
  virtual ~device_channel() = default;
  // Opens `name` for reading and writing, existing only, shared for reading and writing
  // or not shared at all. Null and the platform error on failure.
  virtual device_handle open(const char* name, bool shared, std::uint32_t& error) = 0;
  // One request; 0 on success with `returned` bytes of output, else the platform error.
  virtual std::uint32_t control(device_handle device, std::uint32_t code, const void* in, std::uint32_t in_size,
                                void* out, std::uint32_t out_size, std::uint32_t& returned) = 0;
  // False when the handle was not open.
  virtual bool close(device_handle device) = 0;
};

}  // namespace tambre::io
