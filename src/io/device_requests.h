#pragma once
// The wire format between the library and the kernel port-I/O device: request codes and
// the fixed records that travel with them. Both sides depend on these bytes.

#include <cstddef>
#include <cstdint>

namespace tambre::io {

// The device every request goes to.
inline constexpr char kDeviceName[] = "\\\\.\\FerroLin";

// Device control codes, all with buffered transfer. Device type 0x9C40: ports and PCI;
// 0x8000: memory mapping.
namespace request {
inline constexpr std::uint32_t read_port8 = 0x9C406400;
inline constexpr std::uint32_t read_port16 = 0x9C406404;
inline constexpr std::uint32_t read_port32 = 0x9C406408;
inline constexpr std::uint32_t write_port8 = 0x9C40A440;
inline constexpr std::uint32_t write_port16 = 0x9C40A444;
inline constexpr std::uint32_t write_port32 = 0x9C40A448;
inline constexpr std::uint32_t run_sequence = 0x9C40E4E4;
inline constexpr std::uint32_t query_version = 0x9C40A43C;
inline constexpr std::uint32_t pci_open_selection = 0x9C402504;
inline constexpr std::uint32_t pci_close_selection = 0x9C402508;
inline constexpr std::uint32_t pci_read8 = 0x9C406480;
inline constexpr std::uint32_t pci_read16 = 0x9C406484;
inline constexpr std::uint32_t pci_read32 = 0x9C406488;
inline constexpr std::uint32_t pci_write8 = 0x9C40A4C0;
inline constexpr std::uint32_t pci_write16 = 0x9C40A4C4;
inline constexpr std::uint32_t pci_write32 = 0x9C40A4C8;
inline constexpr std::uint32_t map_physical = 0x80002600;
inline constexpr std::uint32_t unmap_physical = 0x80002604;
inline constexpr std::uint32_t map_pci = 0x80002608;
inline constexpr std::uint32_t unmap_pci = 0x8000260C;
}  // namespace request

// Every code is CTL_CODE(type, function, METHOD_BUFFERED, access): buffered transfer is
// the low two bits 0.
static_assert((request::run_sequence & 3) == 0 && (request::unmap_pci & 3) == 0);
static_assert((request::read_port8 >> 16) == 0x9C40 && (request::map_pci >> 16) == 0x8000);

// The answer assumed from a device that does not answer the version request: version 3,
// capability bits 0x0300.
inline constexpr std::uint32_t kSilentDeviceVersion = 0x00030300;

// The input of a port or PCI register write: the port number or register offset, then the
// value in 1, 2 or 4 bytes.
inline constexpr std::size_t kWriteHeaderSize = 4;

// The input of the PCI selection request: three selection words and a zero word.
struct pci_selection {
  std::uint32_t word1;
  std::uint32_t word2;
  std::uint32_t word3;
  std::uint32_t zero;
};
static_assert(sizeof(pci_selection) == 16);
static_assert(offsetof(pci_selection, word3) == 8 && offsetof(pci_selection, zero) == 12);

// One device record of the selection answer; its content is the device's own.
inline constexpr std::size_t kPciRecordSize = 68;

// Bus types of the mapping request.
inline constexpr std::uint32_t kBusIsa = 1;
inline constexpr std::uint32_t kBusPci = 5;

// The input of the mapping requests (0x80002600, 0x80002608).
struct mapping_request {
  std::uint32_t bus_type;
  std::uint32_t bus_number;  // 0; the data segment selector for a direct-mode ISA mapping
  std::uint32_t address_low;
  std::uint32_t address_high;   // 0
  std::uint32_t address_space;  // 0 = memory
  std::uint32_t length;
};
static_assert(sizeof(mapping_request) == 24);
static_assert(offsetof(mapping_request, bus_number) == 4 && offsetof(mapping_request, address_low) == 8 &&
              offsetof(mapping_request, address_high) == 12 && offsetof(mapping_request, address_space) == 16 &&
              offsetof(mapping_request, length) == 20);

// The answer of the PCI mapping request: the mapped address first.
inline constexpr std::size_t kPciMappingAnswerSize = 8;

// One entry of the mapping table; in direct mode the whole entry is the input of the
// unmap request, so its layout is part of the wire format.
struct mapping_entry {
  std::uint32_t device;          // the entry's own device handle
  std::uint32_t mapped_address;  // 0: entry free
  std::uint32_t linear_address;  // direct-mode ISA mappings only
  std::uint32_t length;          // direct-mode ISA mappings only
};
static_assert(sizeof(mapping_entry) == 16);
static_assert(offsetof(mapping_entry, mapped_address) == 4 && offsetof(mapping_entry, linear_address) == 8 &&
              offsetof(mapping_entry, length) == 12);

}  // namespace tambre::io
