#include "io/mapping_table.h"

#include <cstddef>

namespace tambre::io {

namespace {
mapping_entry table[kMappingSlots] = {};
}

mapping_entry* free_mapping_entry() {
  for (mapping_entry& entry : table) {
    if (entry.mapped_address == 0) return &entry;
  }
  return nullptr;
}

mapping_entry* find_mapping(const void* address) {
  const auto value = reinterpret_cast<std::uintptr_t>(address);
  if (value == 0 || value > 0xFFFFFFFFu) return nullptr;
  for (mapping_entry& entry : table) {
    if (entry.mapped_address == value) return &entry;
  }
  return nullptr;
}

void forget_all_mappings() {
  for (mapping_entry& entry : table) entry = mapping_entry{};
}

// Kernel handles are 32-bit values sign-extended to pointer size on 64-bit Windows.
std::uint32_t handle_to_u32(device_handle device) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(device));
}
device_handle u32_to_handle(std::uint32_t value) {
  return reinterpret_cast<device_handle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
std::uint32_t address_to_u32(const void* address) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address));
}
void* u32_to_address(std::uint32_t value) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(value)); }

}  // namespace tambre::io
