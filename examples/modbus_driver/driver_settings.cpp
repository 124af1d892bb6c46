#include "driver_settings.h"

#include <cstring>

#include "tambre32/filenames.h"
#include "tambre32/settings.h"
#include "tambre32/sio.h"

namespace {

constexpr char kRegistrySection[] = "ModbusRTU";
constexpr char kFileSection[] = "Modbus";
constexpr char kPortEntry[] = "Port";

}  // namespace

driver_settings load_settings(HMODULE module) {
  driver_settings s;
  MakeFileName(module, 0, s.config_file);
  // Without a configuration file the port is the library's default string.
  char fallback[sizeof s.port] = "";
  CSio().SetupDialog(nullptr, fallback, CSIO_SETUP_DEFAULT);
  GetPrivateProfileStringA(kFileSection, kPortEntry, fallback, s.port, sizeof s.port, s.config_file);
  s.slave = static_cast<int>(GetDrvIniInt(kRegistrySection, "Slave", s.slave));
  s.timeout_ms = static_cast<DWORD>(GetDrvIniInt(kRegistrySection, "TimeoutMs", static_cast<LONG>(s.timeout_ms)));
  s.summary_kind = static_cast<int>(GetDrvIniInt(kRegistrySection, "SummaryKind", s.summary_kind));
  s.summary_minute = static_cast<int>(GetDrvIniInt(kRegistrySection, "SummaryMinute", s.summary_minute));
  if (s.slave < 1 || s.slave > 247) s.slave = 1;
  return s;
}

bool save_port(const driver_settings& settings, const char* port) {
  return WritePrivateProfileStringA(kFileSection, kPortEntry, port, settings.config_file) != 0;
}
