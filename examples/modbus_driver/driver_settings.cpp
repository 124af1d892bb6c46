#include "driver_settings.h"

#include <cstring>

#include "tambre32/settings.h"
#include "tambre32/sio.h"

namespace {

constexpr char kRegistrySection[] = "ModbusRTU";
constexpr char kFileSection[] = "Modbus";
constexpr char kPortEntry[] = "Port";

// TODO(config file name): the library's MakeFileName takes this over once it is merged.
void config_file_name(HMODULE module, char (&path)[MAX_PATH + 1]) {
  GetModuleFileNameA(module, path, MAX_PATH);
  path[MAX_PATH] = '\0';
  char* dot = std::strrchr(path, '.');
  char* slash = std::strrchr(path, '\\');
  if (dot && (!slash || dot > slash)) *dot = '\0';
  std::strncat(path, ".cfg", MAX_PATH - std::strlen(path));
}

}  // namespace

driver_settings load_settings(HMODULE module) {
  driver_settings s;
  config_file_name(module, s.config_file);
  // Without a configuration file the port is the library's default string.
  char fallback[sizeof s.port] = "";
  CSio().SetupDialog(nullptr, fallback, CSIO_SETUP_DEFAULT);
  GetPrivateProfileStringA(kFileSection, kPortEntry, fallback, s.port, sizeof s.port, s.config_file);
  s.slave = static_cast<int>(GetDrvIniInt(kRegistrySection, "Slave", s.slave));
  s.timeout_ms = static_cast<DWORD>(GetDrvIniInt(kRegistrySection, "TimeoutMs", static_cast<LONG>(s.timeout_ms)));
  s.summary_seconds = static_cast<int>(GetDrvIniInt(kRegistrySection, "SummarySeconds", s.summary_seconds));
  if (s.slave < 1 || s.slave > 247) s.slave = 1;
  if (s.summary_seconds < 1) s.summary_seconds = 1;
  return s;
}

bool save_port(const driver_settings& settings, const char* port) {
  return WritePrivateProfileStringA(kFileSection, kPortEntry, port, settings.config_file) != 0;
}
