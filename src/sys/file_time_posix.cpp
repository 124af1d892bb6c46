// A file's last-write time in the native build, from stat().
#include <sys/stat.h>
#include "base/file_time_epoch.h"

#include "sys/platform.h"

namespace tambre::sys {

bool file_write_time(const char* path, std::int64_t& units) {
  struct stat info;
  if (path == nullptr || stat(path, &info) != 0) return false;
  // Far beyond either end of the 64-bit unit count the time cannot be a valid result
  // anyway; keeping the multiplication in range keeps it defined.
  std::int64_t seconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
  if (seconds > 900000000000 || seconds < -900000000000) seconds = seconds < 0 ? -900000000000 : 900000000000;
  units = (seconds + base::seconds_1601_to_1970) * base::file_time_units_per_second + info.st_mtim.tv_nsec / 100;
  return true;
}

}  // namespace tambre::sys
