// Mapping a piece of the first megabyte, e.g. the memory window of an ISA card.
#include <windows.h>

#include "base/little_endian.h"
#include "io/direct_ports.h"
#include "io/hardware_seams.h"
#include "io/mapping_table.h"
#include "io/platform_state.h"
#include "tambre32/io.h"

namespace {
constexpr std::uint64_t kFirstMegabyte = 0x100000;
}

TAMBRE_EXPORT(void*, TAMBRE_STDCALL) IOAllocPhysicalMemory(DWORD segment_offset, DWORD length) {
  using namespace tambre::io;
  const std::uint32_t segment = segment_offset >> 16;
  const std::uint32_t linear = segment * 16 + (segment_offset & 0xFFFF);
  if (segment == 0 || length == 0 || std::uint64_t{linear} + length >= kFirstMegabyte) return nullptr;

  mapping_entry* entry = free_mapping_entry();
  if (entry == nullptr) return nullptr;
  std::uint32_t error = 0;
  device_handle device = channel().open(kDeviceName, false, error);
  if (device == nullptr) {
    SetLastError(error);
    return nullptr;
  }
  const bool direct = !platform().nt;
  const mapping_request request{kBusIsa, direct ? data_segment_selector() : 0, linear, 0, 0, length};
  std::uint8_t answer[4] = {};
  std::uint32_t returned = 0;
  error = channel().control(device, request::map_physical, &request, sizeof request, answer, sizeof answer, returned);
  const std::uint32_t mapped = error == 0 && returned >= sizeof answer ? tambre::base::load_le32(answer) : 0;
  // An answer of address 0 would read as a free entry: it counts as a failed mapping.
  if (mapped == 0) {
    channel().close(device);
    if (error != 0) SetLastError(error);
    return nullptr;
  }
  *entry = mapping_entry{handle_to_u32(device), mapped, direct ? linear : 0, direct ? length : 0};
  return u32_to_address(mapped);
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOFreePhysicalMemory(void* address) {
  using namespace tambre::io;
  mapping_entry* entry = find_mapping(address);
  if (entry == nullptr) return FALSE;
  const device_handle device = u32_to_handle(entry->device);
  std::uint32_t returned = 0;
  if (platform().nt) {
    std::uint8_t in[4];
    tambre::base::store_le32(in, entry->mapped_address);
    channel().control(device, request::unmap_physical, in, sizeof in, nullptr, 0, returned);
  } else {
    const mapping_entry whole = *entry;
    channel().control(device, request::unmap_physical, &whole, sizeof whole, nullptr, 0, returned);
  }
  channel().close(device);
  *entry = mapping_entry{};
  return TRUE;
}
