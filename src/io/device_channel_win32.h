#pragma once
// The kernel device as the system reaches it: CreateFileA, DeviceIoControl, CloseHandle.

#include "io/device_channel.h"

namespace tambre::io {

class win32_device_channel final : public device_channel {
 public:
  device_handle open(const char* name, bool shared, std::uint32_t& error) override;
  std::uint32_t control(device_handle device, std::uint32_t code, const void* in, std::uint32_t in_size, void* out,
                        std::uint32_t out_size, std::uint32_t& returned) override;
  bool close(device_handle device) override;
};

}  // namespace tambre::io
