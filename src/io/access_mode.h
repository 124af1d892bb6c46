#pragma once
// The port-access mode, held as a table of seven operations through which the exported
// port functions call. Until a mode is chosen, all seven are those of the unavailable mode.

#include <cstdint>

#include "io/device_channel.h"

namespace tambre::io {

struct port_operations {
  int (*read8)(device_handle device, std::uint32_t port, std::uint8_t* value);
  int (*read16)(device_handle device, std::uint32_t port, std::uint16_t* value);
  int (*read32)(device_handle device, std::uint32_t port, std::uint32_t* value);
  int (*write8)(device_handle device, std::uint32_t port, std::uint8_t value);
  int (*write16)(device_handle device, std::uint32_t port, std::uint16_t value);
  int (*write32)(device_handle device, std::uint32_t port, std::uint32_t value);
  int (*sequence)(device_handle device, std::uint8_t* record);
};

enum class access_mode {
  unavailable,  // NT without the kernel device: every operation fails, outputs untouched
  direct,       // the processor's port instructions
  device,       // requests to the kernel device
};

const port_operations& port_ops();
void select_access_mode(access_mode mode);
// The device could not be opened: the 8- and 16-bit reads and writes become unavailable,
// the 32-bit ones and sequences stay as they are.
void drop_narrow_port_operations();

}  // namespace tambre::io
