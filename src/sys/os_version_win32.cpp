#include <windows.h>

#include <cstring>

#include "sys/os_version.h"

namespace tambre::sys {

os_version read_os_version() {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  os_version version;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return version;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber;
  version.platform = info.dwPlatformId;
  static_assert(sizeof version.service_pack == sizeof info.szCSDVersion);
  std::memcpy(version.service_pack, info.szCSDVersion, sizeof version.service_pack);
  version.service_pack[sizeof version.service_pack - 1] = '\0';
  version.product_type = info.wProductType;
  return version;
}

int query_wow64() {
  using is_wow64_process = BOOL(WINAPI*)(HANDLE, BOOL*);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto query =
      kernel ? reinterpret_cast<is_wow64_process>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
             : nullptr;
  if (query == nullptr) return 0;
  BOOL wow64 = FALSE;
  if (!query(GetCurrentProcess(), &wow64)) return -1;
  return wow64 ? 1 : 0;
}

}  // namespace tambre::sys
