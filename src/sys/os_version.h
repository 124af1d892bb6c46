#pragma once
// The platform's version record and bitness, as the version queries read them.
#include <cstdint>

namespace tambre::sys {

constexpr std::uint32_t platform_9x = 1;
constexpr std::uint32_t platform_nt = 2;
constexpr std::uint8_t product_workstation = 1;

struct os_version {
  std::uint32_t major = 0, minor = 0, build = 0;
  std::uint32_t platform = 0;  // platform_9x, platform_nt, or 0 for anything else
  char service_pack[128] = "";
  std::uint8_t product_type = 0;
};

// Reads the running system's version record; a platform that has none gives platform 0.
os_version read_os_version();

// 1 when this 32-bit process runs on 64-bit Windows, 0 when not (or the platform cannot
// tell), -1 when the query failed.
int query_wow64();

}  // namespace tambre::sys
