#pragma once
// The register requests shared by ports and PCI registers: a 32-bit key (port number or
// register offset), then for writes the value in 1, 2 or 4 bytes; reads answer the value.

#include <cstdint>

#include "io/device_channel.h"

namespace tambre::io {

// Sends read request `code` for `key`; on failure *value becomes all ones and the
// device's error becomes the thread's last error. 1/0.
template <typename Value>
int device_read(device_handle device, std::uint32_t code, std::uint32_t key, Value* value);

// Sends write request `code` with `key` and `value`; the device's error becomes the
// thread's last error. 1/0.
template <typename Value>
int device_write(device_handle device, std::uint32_t code, std::uint32_t key, Value value);

// Sends a request without input or output; 1/0 with the last error.
int device_command(device_handle device, std::uint32_t code);

}  // namespace tambre::io
