#include "io/simulated_ports.h"

namespace tambre::test {

namespace {
std::uint32_t width_mask(int bits) { return bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }
}  // namespace

void simulated_ports::set_value(std::uint16_t port, std::uint32_t value) {
  registers_[port] = port_register{value, value};
}

void simulated_ports::set_ready_after_reads(std::uint16_t port, std::uint32_t busy, std::uint32_t ready, int reads) {
  registers_[port] = port_register{busy, ready, reads};
}

int simulated_ports::reads_of(std::uint16_t port) const {
  auto it = registers_.find(port);
  return it == registers_.end() ? 0 : it->second.reads;
}

std::uint32_t simulated_ports::read(std::uint16_t port, int bits) {
  std::uint32_t value = 0xFFFFFFFFu;
  auto it = registers_.find(port);
  if (it != registers_.end()) {
    port_register& r = it->second;
    ++r.reads;
    value = r.reads_left > 0 ? (--r.reads_left, r.busy) : r.ready;
  }
  value &= width_mask(bits);
  log_.push_back({false, bits, port, value});
  return value;
}

void simulated_ports::write(std::uint16_t port, int bits, std::uint32_t value) {
  log_.push_back({true, bits, port, value});
  port_register& r = registers_[port];
  const int reads = r.reads;
  r = port_register{value, value, 0, reads};
}

std::uint8_t simulated_ports::in8(std::uint16_t port) { return static_cast<std::uint8_t>(read(port, 8)); }
std::uint16_t simulated_ports::in16(std::uint16_t port) { return static_cast<std::uint16_t>(read(port, 16)); }
std::uint32_t simulated_ports::in32(std::uint16_t port) { return read(port, 32); }
void simulated_ports::out8(std::uint16_t port, std::uint8_t value) { write(port, 8, value); }
void simulated_ports::out16(std::uint16_t port, std::uint16_t value) { write(port, 16, value); }
void simulated_ports::out32(std::uint16_t port, std::uint32_t value) { write(port, 32, value); }

}  // namespace tambre::test
