// PCI device selections and their configuration registers.
#include <windows.h>

#include <vector>

#include "io/device_io.h"
#include "io/device_requests.h"
#include "io/hardware_seams.h"
#include "tambre32/io.h"

namespace {
// PCIEnumDeviceEx counts at most this many devices.
constexpr DWORD kEnumCapacity = 32;
}  // namespace

TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL)
PCIOpenEx(DWORD word1, DWORD word2, DWORD word3, DWORD* capacity, void* buffer) {
  using namespace tambre::io;
  if (capacity == nullptr || *capacity == 0 || word1 == 0 || buffer == nullptr) return nullptr;
  if (*capacity > 0xFFFFFFFFu / kPciRecordSize) return nullptr;  // the output length must fit 32 bits
  const std::uint32_t out_size = *capacity * static_cast<std::uint32_t>(kPciRecordSize);
  *capacity = 0;
  std::uint32_t error = 0;
  device_handle device = channel().open(kDeviceName, true, error);
  if (device == nullptr) {
    SetLastError(error);
    return nullptr;
  }
  const pci_selection selection{word1, word2, word3, 0};
  std::uint32_t returned = 0;
  error =
      channel().control(device, request::pci_open_selection, &selection, sizeof selection, buffer, out_size, returned);
  if (error != 0) {
    channel().close(device);
    SetLastError(error);
    return nullptr;
  }
  *capacity = returned / static_cast<std::uint32_t>(kPciRecordSize);
  return device;
}

TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL) PCIOpen(DWORD word1, DWORD* capacity, void* buffer) {
  return PCIOpenEx(word1, 0, 0, capacity, buffer);
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIClose(HANDLE pci) {
  using namespace tambre::io;
  if (pci == nullptr) return FALSE;
  const bool closed_selection = device_command(pci, request::pci_close_selection) != 0;
  const bool closed_handle = channel().close(pci);
  return closed_selection && closed_handle;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) PCIEnumDeviceEx(DWORD word1, DWORD word2, DWORD word3) {
  std::vector<unsigned char> records(kEnumCapacity * tambre::io::kPciRecordSize);
  DWORD count = kEnumCapacity;
  HANDLE pci = PCIOpenEx(word1, word2, word3, &count, records.data());
  if (pci == nullptr) return -1;
  PCIClose(pci);
  return static_cast<int>(count);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) PCIEnumDevice(DWORD word1) { return PCIEnumDeviceEx(word1, 0, 0); }

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead8(HANDLE pci, DWORD offset, BYTE* value) {
  return value != nullptr && tambre::io::device_read(pci, tambre::io::request::pci_read8, offset, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead16(HANDLE pci, DWORD offset, WORD* value) {
  return value != nullptr && tambre::io::device_read(pci, tambre::io::request::pci_read16, offset, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead32(HANDLE pci, DWORD offset, DWORD* value) {
  return value != nullptr &&
         tambre::io::device_read(pci, tambre::io::request::pci_read32, offset, reinterpret_cast<std::uint32_t*>(value));
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite8(HANDLE pci, DWORD offset, BYTE value) {
  return tambre::io::device_write(pci, tambre::io::request::pci_write8, offset, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite16(HANDLE pci, DWORD offset, WORD value) {
  return tambre::io::device_write(pci, tambre::io::request::pci_write16, offset, value);
}
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite32(HANDLE pci, DWORD offset, DWORD value) {
  return tambre::io::device_write(pci, tambre::io::request::pci_write32, offset, static_cast<std::uint32_t>(value));
}
