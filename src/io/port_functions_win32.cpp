// The exported port functions: they open the way to the ports and call through the
// access-mode table.
#include <cstddef>

#include "io/access_mode.h"
#include "io/device_requests.h"
#include "io/hardware_seams.h"
#include "io/platform_state.h"
#include "io/port_sequence.h"
#include "tambre32/io.h"

using tambre::io::port_ops;

// The public record types are the wire layout of the sequence request.
static_assert(sizeof(TambreIoSequenceHeader) == sizeof(tambre::io::sequence_header));
static_assert(offsetof(TambreIoSequenceHeader, timeout_ms) == offsetof(tambre::io::sequence_header, timeout_ms));
static_assert(offsetof(TambreIoSequenceHeader, item_count) == offsetof(tambre::io::sequence_header, item_count));
static_assert(sizeof(TambreIoSequenceItem) == sizeof(tambre::io::sequence_item));
static_assert(offsetof(TambreIoSequenceItem, value) == offsetof(tambre::io::sequence_item, value));
static_assert(offsetof(TambreIoSequenceItem, expected) == offsetof(tambre::io::sequence_item, expected));
static_assert(TAMBRE_PCI_RECORD_SIZE == tambre::io::kPciRecordSize);

namespace {
// The handle of the direct mode: there is no device to hold.
HANDLE const kDirectHandle = reinterpret_cast<HANDLE>(1);
}  // namespace

TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL) IOOpen(void) {
  if (!IORegister()) return nullptr;
  if (!tambre::io::platform().nt) return kDirectHandle;
  std::uint32_t error = 0;
  HANDLE device = tambre::io::channel().open(tambre::io::kDeviceName, true, error);
  if (device == nullptr) {
    tambre::io::drop_narrow_port_operations();
    SetLastError(error);
    return nullptr;
  }
  return device;
}

TAMBRE_EXPORT(void, TAMBRE_STDCALL) IOClose(HANDLE device) {
  if (device == nullptr || !tambre::io::platform().nt) return;
  tambre::io::channel().close(device);
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead8(HANDLE device, DWORD port, BYTE* value) {
  return value != nullptr && port_ops().read8(device, port, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead16(HANDLE device, DWORD port, WORD* value) {
  return value != nullptr && port_ops().read16(device, port, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead32(HANDLE device, DWORD port, DWORD* value) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
  return value != nullptr && port_ops().read32(device, port, reinterpret_cast<std::uint32_t*>(value));
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite8(HANDLE device, DWORD port, BYTE value) {
  return port_ops().write8(device, port, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite16(HANDLE device, DWORD port, WORD value) {
  return port_ops().write16(device, port, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite32(HANDLE device, DWORD port, DWORD value) {
  return port_ops().write32(device, port, value);
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOSequence(HANDLE device, void* record) {
  if (record == nullptr) {
    SetLastError(tambre::io::kSequenceBadItem);
    return FALSE;
  }
  return port_ops().sequence(device, static_cast<std::uint8_t*>(record));
}

// The same function under the name the PCI drivers use.
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCISequence(HANDLE device, void* record) { return IOSequence(device, record); }
