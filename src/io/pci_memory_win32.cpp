// Mapping the memory of a PCI device; each mapping holds a device handle of its own.
#include <windows.h>

#include "base/little_endian.h"
#include "io/device_requests.h"
#include "io/hardware_seams.h"
#include "io/mapping_table.h"
#include "io/platform_state.h"
#include "tambre32/io.h"

TAMBRE_EXPORT(void*, TAMBRE_STDCALL) PCIMapMemory(HANDLE pci, DWORD physical_address, DWORD length) {
  using namespace tambre::io;
  if (!platform().nt) return nullptr;
  mapping_entry* entry = free_mapping_entry();
  if (entry == nullptr) return nullptr;
  std::uint32_t error = 0;
  device_handle own = channel().open(kDeviceName, false, error);
  if (own == nullptr) {
    SetLastError(error);
    return nullptr;
  }
  const mapping_request request{kBusPci, 0, physical_address, 0, 0, length};
  std::uint8_t answer[kPciMappingAnswerSize] = {};
  std::uint32_t returned = 0;
  error = channel().control(pci, request::map_pci, &request, sizeof request, answer, sizeof answer, returned);
  const std::uint32_t mapped = error == 0 && returned >= 4 ? tambre::base::load_le32(answer) : 0;
  // An answer of address 0 would read as a free entry: it counts as a failed mapping.
  if (mapped == 0) {
    channel().close(own);
    if (error != 0) SetLastError(error);
    return nullptr;
  }
  *entry = mapping_entry{handle_to_u32(own), mapped, 0, 0};
  return u32_to_address(mapped);
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIUnmapMemory(HANDLE pci, void* address) {
  using namespace tambre::io;
  if (pci == nullptr || !platform().nt) return FALSE;
  mapping_entry* entry = find_mapping(address);
  if (entry == nullptr) return FALSE;
  std::uint8_t in[4];
  tambre::base::store_le32(in, entry->mapped_address);
  std::uint32_t returned = 0;
  channel().control(pci, request::unmap_pci, in, sizeof in, nullptr, 0, returned);
  channel().close(u32_to_handle(entry->device));
  *entry = mapping_entry{};
  return TRUE;
}
