// A driver module's redundancy settings in the user settings store.
#include <windows.h>

#include <cstring>
#include <string>

#include "redundancy/link_logic.h"
#include "redundancy/settings_section.h"
#include "tambre32/redundancy.h"
#include "tambre32/settings.h"

namespace {

constexpr char kRemoteMachine[] = "RemoteMachine";
constexpr char kMode[] = "Mode";
constexpr char kAliveTimeout[] = "AliveTimeout";
constexpr char kIPPort[] = "IPPort";
constexpr LONG kDefaultPort = 10990;

// The module's section, or false when the module has no file name.
bool section_of(HMODULE module, short index, std::string& section) {
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  section = tambre::redundancy::settings_section(std::string_view(path, length), index);
  return true;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) LoadMachineRedundancy(HMODULE module, short index, RedundancySettings* settings) {
  std::string section;
  if (settings == nullptr || !section_of(module, index, section)) return 0;
  const int length =
      GetUsrIniString(section.c_str(), kRemoteMachine, "", settings->RemoteMachine, sizeof settings->RemoteMachine);
  settings->Mode = static_cast<int16_t>(GetUsrIniInt(section.c_str(), kMode, 0));
  settings->AliveTimeout = static_cast<int32_t>(
      GetUsrIniInt(section.c_str(), kAliveTimeout, static_cast<LONG>(tambre::redundancy::default_alive_timeout)));
  settings->IPPort = static_cast<uint16_t>(GetUsrIniInt(section.c_str(), kIPPort, kDefaultPort));
  return length;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
SaveMachineRedundancy(HMODULE module, short index, const RedundancySettings* settings) {
  std::string section;
  if (settings == nullptr || !section_of(module, index, section)) return 0;
  // A name that fills the whole field without its terminator is cut to what a load can
  // bring back.
  const std::string remote(settings->RemoteMachine,
                           strnlen(settings->RemoteMachine, sizeof settings->RemoteMachine - 1));
  // Every entry is attempted, whatever happened to the one before.
  int written = WriteUsrIniString(section.c_str(), kRemoteMachine, remote.c_str());
  written += WriteUsrIniInt(section.c_str(), kMode, settings->Mode);
  written += WriteUsrIniInt(section.c_str(), kAliveTimeout, settings->AliveTimeout);
  written += WriteUsrIniInt(section.c_str(), kIPPort, settings->IPPort);
  return written == 4 ? 1 : 0;
}
