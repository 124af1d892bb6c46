// Zone record, wall clocks and TZ from Win32.
#include <windows.h>

#include <string>

#include "sys/platform.h"

namespace tambre::sys {

namespace {

zone_date from_systemtime(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

wall_clock from_clock(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

class win32_time_source final : public time_source {
 public:
  zone_query query_zone() override {
    TIME_ZONE_INFORMATION info{};
    zone_query q{};
    q.status = GetTimeZoneInformation(&info);
    if (q.status == TIME_ZONE_ID_INVALID) return q;
    q.record.bias = info.Bias;
    q.record.standard_bias = info.StandardBias;
    q.record.daylight_bias = info.DaylightBias;
    q.record.standard_date = from_systemtime(info.StandardDate);
    q.record.daylight_date = from_systemtime(info.DaylightDate);
    for (int i = 0; i < 32; ++i) {
      q.record.standard_name[i] = static_cast<char16_t>(info.StandardName[i]);
      q.record.daylight_name[i] = static_cast<char16_t>(info.DaylightName[i]);
    }
    q.record.standard_name[31] = q.record.daylight_name[31] = 0;
    return q;
  }
  wall_clock local_clock() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return from_clock(st);
  }
  wall_clock utc_clock() override {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return from_clock(st);
  }
  std::uint64_t utc_file_time() override {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  }
  bool tz_variable(char* buffer, std::size_t size) override {
    SetLastError(ERROR_SUCCESS);  // an empty value also returns 0, without an error
    DWORD n = GetEnvironmentVariableA("TZ", buffer, static_cast<DWORD>(size));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
      buffer[0] = '\0';  // set but empty
      return true;
    }
    if (n >= size) {  // longer than the buffer: read it whole, keep what fits
      std::string whole(n, '\0');
      DWORD got = GetEnvironmentVariableA("TZ", whole.data(), n);
      whole.resize(got < n ? got : 0);
      std::size_t keep = whole.size() < size - 1 ? whole.size() : size - 1;
      whole.copy(buffer, keep);
      buffer[keep] = '\0';
    }
    return true;
  }
};

}  // namespace

time_source& platform_time_source() {
  static win32_time_source source;
  return source;
}

}  // namespace tambre::sys
