#pragma once
// Seconds since 1970 and the platform's FILETIME and SYSTEMTIME, both ways.
#include <windows.h>

#include <cstdint>

namespace tambre::test {

inline std::int64_t seconds_of_filetime(const FILETIME& ft) {
  return static_cast<std::int64_t>(((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) /
                                   10000000ull) -
         11644473600LL;
}

inline FILETIME filetime_of(std::int64_t seconds) {
  std::uint64_t units = static_cast<std::uint64_t>(seconds + 11644473600LL) * 10000000ull;
  return {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

inline std::int64_t seconds_of_systemtime(const SYSTEMTIME& st) {
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return seconds_of_filetime(ft);
}

inline SYSTEMTIME systemtime_of(std::int64_t seconds) {
  FILETIME ft = filetime_of(seconds);
  SYSTEMTIME st;
  FileTimeToSystemTime(&ft, &st);
  return st;
}

}  // namespace tambre::test
