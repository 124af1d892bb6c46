#pragma once
// A scripted I/O port space: the registers of a simulated card. Unscripted ports read
// all ones, as an empty bus does; writes are logged and latched into the register.
#include <cstdint>
#include <map>
#include <vector>

#include "io/port_sequence.h"
#include "io/port_space.h"

namespace tambre::test {

class simulated_ports final : public io::port_space {
 public:
  // Reads answer `value` until something writes the port.
  void set_value(std::uint16_t port, std::uint32_t value);
  // Reads answer `busy` `reads` times, then `ready`.
  void set_ready_after_reads(std::uint16_t port, std::uint32_t busy, std::uint32_t ready, int reads);

  struct access {
    bool write;
    int bits;
    std::uint16_t port;
    std::uint32_t value;
    bool operator==(const access& o) const {
      return write == o.write && bits == o.bits && port == o.port && value == o.value;
    }
  };
  const std::vector<access>& log() const { return log_; }
  int reads_of(std::uint16_t port) const;

  std::uint8_t in8(std::uint16_t port) override;
  std::uint16_t in16(std::uint16_t port) override;
  std::uint32_t in32(std::uint16_t port) override;
  void out8(std::uint16_t port, std::uint8_t value) override;
  void out16(std::uint16_t port, std::uint16_t value) override;
  void out32(std::uint16_t port, std::uint32_t value) override;

 private:
  struct port_register {
    std::uint32_t busy = 0;   // read while reads_left > 0
    std::uint32_t ready = 0;  // read after that
    int reads_left = 0;
    int reads = 0;
  };
  std::uint32_t read(std::uint16_t port, int bits);
  void write(std::uint16_t port, int bits, std::uint32_t value);

  std::map<std::uint16_t, port_register> registers_;
  std::vector<access> log_;
};

}  // namespace tambre::test
