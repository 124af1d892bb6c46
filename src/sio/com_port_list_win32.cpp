// The serial ports the system reports, from its device map in the registry.
#include <windows.h>

#include <cstring>

#include "sio/number_prefix.h"
#include "sys/handles.h"
#include "tambre32/sio.h"

namespace {

constexpr DWORD entry_limit = 128;  // names and data read per value

}  // namespace

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) EnumCOMPorts(unsigned char* ports) {
  if (ports == nullptr) return FALSE;
  std::memset(ports, 0, 256);
  tambre::sys::reg_key map;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, map.put()) != ERROR_SUCCESS)
    return FALSE;
  // The enumeration ends at its first failure, a value longer than the limits included.
  for (DWORD index = 0;; ++index) {
    char name[entry_limit + 1];
    char data[entry_limit + 1];
    DWORD name_size = entry_limit, data_size = entry_limit, type = 0;
    if (RegEnumValueA(map.get(), index, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data), &data_size) !=
        ERROR_SUCCESS)
      break;
    data[data_size < entry_limit ? data_size : entry_limit] = '\0';
    if (type != REG_SZ || std::strncmp(data, "COM", 3) != 0) continue;
    const int number = tambre::sio::integer_prefix(data + 3);
    if (number >= 1 && number <= 255) ports[number] = 0xFF;
  }
  return TRUE;
}
