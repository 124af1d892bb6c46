#pragma once
// The process-wide table of memory mappings, shared by ISA and PCI mappings. Not locked:
// mapping and unmapping from several threads at once is not supported.

#include <cstdint>

#include "io/device_channel.h"
#include "io/device_requests.h"

namespace tambre::io {

inline constexpr int kMappingSlots = 12;

// A free entry, or null when all are taken.
mapping_entry* free_mapping_entry();
// The entry of `address` (not null), or null.
mapping_entry* find_mapping(const void* address);
// Frees every entry without closing anything, for tests that start over.
void forget_all_mappings();

// Handles and addresses are stored in 32 bits, as the device's records carry them.
std::uint32_t handle_to_u32(device_handle device);
device_handle u32_to_handle(std::uint32_t value);
std::uint32_t address_to_u32(const void* address);
void* u32_to_address(std::uint32_t value);

}  // namespace tambre::io
