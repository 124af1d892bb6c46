#include "io/device_io.h"

#include <windows.h>

#include "base/little_endian.h"
#include "io/device_requests.h"
#include "io/hardware_seams.h"

namespace tambre::io {

template <typename Value>
int device_read(device_handle device, std::uint32_t code, std::uint32_t key, Value* value) {
  std::uint8_t in[kWriteHeaderSize];
  base::store_le32(in, key);
  std::uint8_t out[4] = {};
  std::uint32_t returned = 0;
  const std::uint32_t error = channel().control(device, code, in, sizeof in, out, sizeof(Value), returned);
  if (error != 0) {
    *value = static_cast<Value>(~Value{0});
    SetLastError(error);
    return 0;
  }
  *value = static_cast<Value>(base::load_le32(out));
  return 1;
}

template <typename Value>
int device_write(device_handle device, std::uint32_t code, std::uint32_t key, Value value) {
  std::uint8_t in[kWriteHeaderSize + 4];
  base::store_le32(in, key);
  base::store_le32(in + kWriteHeaderSize, value);
  std::uint32_t returned = 0;
  const std::uint32_t error = channel().control(
      device, code, in, static_cast<std::uint32_t>(kWriteHeaderSize + sizeof(Value)), nullptr, 0, returned);
  if (error != 0) {
    SetLastError(error);
    return 0;
  }
  return 1;
}

int device_command(device_handle device, std::uint32_t code) {
  std::uint32_t returned = 0;
  const std::uint32_t error = channel().control(device, code, nullptr, 0, nullptr, 0, returned);
  if (error != 0) {
    SetLastError(error);
    return 0;
  }
  return 1;
}

template int device_read<std::uint8_t>(device_handle, std::uint32_t, std::uint32_t, std::uint8_t*);
template int device_read<std::uint16_t>(device_handle, std::uint32_t, std::uint32_t, std::uint16_t*);
template int device_read<std::uint32_t>(device_handle, std::uint32_t, std::uint32_t, std::uint32_t*);
template int device_write<std::uint8_t>(device_handle, std::uint32_t, std::uint32_t, std::uint8_t);
template int device_write<std::uint16_t>(device_handle, std::uint32_t, std::uint32_t, std::uint16_t);
template int device_write<std::uint32_t>(device_handle, std::uint32_t, std::uint32_t, std::uint32_t);

}  // namespace tambre::io
