#include "io/hardware_seams.h"

#include <windows.h>

#include "io/device_channel_win32.h"
#include "io/direct_ports.h"
#include "tambre32/io.h"

namespace tambre::io {

namespace {

device_channel* channel_stand_in = nullptr;
port_space* ports_stand_in = nullptr;
platform_query platform_stand_in = nullptr;
service_control service_stand_in = nullptr;
system_restart restart_stand_in = nullptr;

platform_version system_platform() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  platform_version version;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&info)) return version;  // NT-era API missing: assume a modern NT
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  version.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  version.nt5_or_later = version.nt && info.dwMajorVersion >= 5;
  return version;
}

}  // namespace

device_channel& channel() {
  static win32_device_channel system_channel;
  return channel_stand_in != nullptr ? *channel_stand_in : system_channel;
}
void set_device_channel(device_channel* stand_in) { channel_stand_in = stand_in; }

port_space& direct_ports() {
  static port_instructions system_ports;
  return ports_stand_in != nullptr ? *ports_stand_in : system_ports;
}
void set_direct_ports(port_space* stand_in) { ports_stand_in = stand_in; }

platform_version query_platform() { return platform_stand_in != nullptr ? platform_stand_in() : system_platform(); }
void set_platform_query(platform_query stand_in) { platform_stand_in = stand_in; }

int control_service(const char* name, int operation) {
  return service_stand_in != nullptr ? service_stand_in(name, operation) : ControlNTService(name, operation, nullptr);
}
void set_service_control(service_control stand_in) { service_stand_in = stand_in; }

bool restart_system() {
  if (restart_stand_in != nullptr) return restart_stand_in();
  return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}
void set_system_restart(system_restart stand_in) { restart_stand_in = stand_in; }

}  // namespace tambre::io
