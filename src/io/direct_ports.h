#pragma once
// The processor's own port instructions: the direct mode of platforms that do not
// protect I/O ports.

#include <cstdint>

#include "io/port_space.h"

namespace tambre::io {

class port_instructions final : public port_space {
 public:
  std::uint8_t in8(std::uint16_t port) override;
  std::uint16_t in16(std::uint16_t port) override;
  std::uint32_t in32(std::uint16_t port) override;
  void out8(std::uint16_t port, std::uint8_t value) override;
  void out16(std::uint16_t port, std::uint16_t value) override;
  void out32(std::uint16_t port, std::uint32_t value) override;
};

// The selector of the data segment, which the direct mode hands to the device with an
// ISA memory mapping.
std::uint32_t data_segment_selector();

}  // namespace tambre::io
