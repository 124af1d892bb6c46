#pragma once
// Seconds since 1970 (UTC) with the platform's finest resolution: the time stamps the
// driver, the host and the event client exchange.
#include <windows.h>

inline double unix_seconds_now() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks) / 1e7 - 11644473600.0;  // 100 ns ticks since 1601
}
