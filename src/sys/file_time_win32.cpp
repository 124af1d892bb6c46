// A file's last-write time on Windows, from the file search.
#include <windows.h>

#include "sys/handles.h"
#include "sys/platform.h"

namespace tambre::sys {

bool file_write_time(const char* path, std::int64_t& units) {
  if (path == nullptr) return false;
  WIN32_FIND_DATAA found;
  find_handle search(FindFirstFileA(path, &found));
  if (!search) return false;
  ULARGE_INTEGER value;
  value.LowPart = found.ftLastWriteTime.dwLowDateTime;
  value.HighPart = found.ftLastWriteTime.dwHighDateTime;
  // FILETIME counts from 1601; anything above the signed range lies far beyond 2099.
  units = value.QuadPart > 0x7FFFFFFFFFFFFFFFull ? 0x7FFFFFFFFFFFFFFF : static_cast<std::int64_t>(value.QuadPart);
  return true;
}

}  // namespace tambre::sys
