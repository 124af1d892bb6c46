#include "io/hardware_seams.h"

#include <windows.h>

#include "io/device_channel_win32.h"
#include "io/direct_ports.h"
#include "tambre32/io.h"

namespace tambre::io {

namespace {

class system_machine final : public machine {
 public:
  platform_version version() override {
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
  int control_service(const char* name, int operation) override { return ControlNTService(name, operation, nullptr); }
  bool restart() override { return ExitWindowsEx(EWX_REBOOT, 0) != FALSE; }
};

}  // namespace

base::seam<device_channel>& channel_seam() {
  static win32_device_channel own;
  static base::seam<device_channel> seam(own);
  return seam;
}

base::seam<port_space>& direct_ports_seam() {
  static port_instructions own;
  static base::seam<port_space> seam(own);
  return seam;
}

base::seam<machine>& machine_seam() {
  static system_machine own;
  static base::seam<machine> seam(own);
  return seam;
}

}  // namespace tambre::io
