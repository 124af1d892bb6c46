#include "io/direct_ports.h"

namespace tambre::io {

std::uint8_t port_instructions::in8(std::uint16_t port) {
  std::uint8_t value;
  __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port));
  return value;
}

std::uint16_t port_instructions::in16(std::uint16_t port) {
  std::uint16_t value;
  __asm__ __volatile__("inw %w1, %w0" : "=a"(value) : "Nd"(port));
  return value;
}

std::uint32_t port_instructions::in32(std::uint16_t port) {
  std::uint32_t value;
  __asm__ __volatile__("inl %w1, %k0" : "=a"(value) : "Nd"(port));
  return value;
}

void port_instructions::out8(std::uint16_t port, std::uint8_t value) {
  __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port));
}

void port_instructions::out16(std::uint16_t port, std::uint16_t value) {
  __asm__ __volatile__("outw %w0, %w1" : : "a"(value), "Nd"(port));
}

void port_instructions::out32(std::uint16_t port, std::uint32_t value) {
  __asm__ __volatile__("outl %k0, %w1" : : "a"(value), "Nd"(port));
}

std::uint32_t data_segment_selector() {
  std::uint16_t selector;
  __asm__ __volatile__("mov %%ds, %w0" : "=r"(selector));
  return selector;
}

}  // namespace tambre::io
