#pragma once
// The processor's I/O port space as the direct mode and the sequence interpreter see it:
// the port instructions in the library, a scripted register file in tests.

#include <cstdint>

namespace tambre::io {

class port_space {
 public:
  virtual ~port_space() = default;
  virtual std::uint8_t in8(std::uint16_t port) = 0;
  virtual std::uint16_t in16(std::uint16_t port) = 0;
  virtual std::uint32_t in32(std::uint16_t port) = 0;
  virtual void out8(std::uint16_t port, std::uint8_t value) = 0;
  virtual void out16(std::uint16_t port, std::uint16_t value) = 0;
  virtual void out32(std::uint16_t port, std::uint32_t value) = 0;
};

}  // namespace tambre::io
