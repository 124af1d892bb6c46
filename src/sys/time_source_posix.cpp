// Zone record, wall clocks and TZ for the native build, from the C library's zone rules.
// The host's rules are turned into a zone record in the absolute form for the current
// year, which is all the record can express.
#include <sys/time.h>
#include "base/file_time_epoch.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "sys/platform.h"

namespace tambre::sys {

namespace {

zone_date date_of(std::time_t t, int year) {
  std::tm f{};
  gmtime_r(&t, &f);
  return {static_cast<std::uint16_t>(year),      static_cast<std::uint16_t>(f.tm_mon + 1),
          static_cast<std::uint16_t>(f.tm_wday), static_cast<std::uint16_t>(f.tm_mday),
          static_cast<std::uint16_t>(f.tm_hour), static_cast<std::uint16_t>(f.tm_min),
          static_cast<std::uint16_t>(f.tm_sec),  0};
}

bool dst_at(std::time_t t) {
  std::tm f{};
  localtime_r(&t, &f);
  return f.tm_isdst > 0;
}

// First second after `from` (known to differ from `to` in DST state) where the state
// becomes that of `to`.
std::time_t change_between(std::time_t from, std::time_t to) {
  bool target = dst_at(to);
  while (to - from > 1) {
    std::time_t mid = from + (to - from) / 2;
    (dst_at(mid) == target ? to : from) = mid;
  }
  return to;
}

void copy_name(char16_t* out, const char* name) {
  int i = 0;
  for (; name != nullptr && name[i] != '\0' && i < 31; ++i) out[i] = static_cast<unsigned char>(name[i]);
  out[i] = 0;
}

wall_clock clock_of(const std::tm& f, long usec) {
  return {f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec, static_cast<int>(usec / 1000)};
}

class posix_time_source final : public time_source {
 public:
  zone_query query_zone() override {
    tzset();
    zone_query q{};
    std::time_t now = std::time(nullptr);
    std::tm f{};
    localtime_r(&now, &f);
    int year = f.tm_year + 1900;
    std::tm jan{};
    jan.tm_year = f.tm_year;
    jan.tm_mday = 1;
    std::time_t start = timegm(&jan);
    std::time_t standard_offset = 0;
    std::time_t dst_offset = 0;
    bool have_standard = false, have_dst = false;
    std::time_t dst_start = 0, dst_end = 0;
    bool prev = dst_at(start);
    for (std::time_t t = start; t < start + 366 * 86400; t += 3600) {
      std::tm g{};
      localtime_r(&t, &g);
      if (g.tm_isdst > 0 && !have_dst) dst_offset = g.tm_gmtoff, have_dst = true;
      if (g.tm_isdst <= 0 && !have_standard) standard_offset = g.tm_gmtoff, have_standard = true;
      bool now_dst = g.tm_isdst > 0;
      if (now_dst != prev) (now_dst ? dst_start : dst_end) = change_between(t - 3600, t);
      prev = now_dst;
    }
    if (!have_standard) standard_offset = f.tm_gmtoff;
    q.record.bias = static_cast<std::int32_t>(-standard_offset / 60);
    copy_name(q.record.standard_name, tzname[0]);
    copy_name(q.record.daylight_name, tzname[1]);
    if (have_dst && dst_start != 0 && dst_end != 0) {
      q.record.daylight_bias = static_cast<std::int32_t>(-(dst_offset - standard_offset) / 60);
      // The start in standard time, the end in daylight time, as the record has them.
      q.record.daylight_date = date_of(dst_start + standard_offset, year);
      q.record.standard_date = date_of(dst_end + dst_offset, year);
      q.status = f.tm_isdst > 0 ? zone_daylight_now : 1;
    }
    return q;
  }
  wall_clock local_clock() override {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm f{};
    localtime_r(&tv.tv_sec, &f);
    return clock_of(f, tv.tv_usec);
  }
  wall_clock utc_clock() override {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm f{};
    gmtime_r(&tv.tv_sec, &f);
    return clock_of(f, tv.tv_usec);
  }
  std::uint64_t utc_file_time() override {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    return (static_cast<std::uint64_t>(tv.tv_sec) + base::seconds_1601_to_1970) * base::file_time_units_per_second +
           static_cast<std::uint64_t>(tv.tv_usec) * 10;
  }
  bool tz_variable(char* buffer, std::size_t size) override {
    // The library only reads TZ; a program that changes it owns the consequences.
    const char* value = std::getenv("TZ");  // NOLINT(concurrency-mt-unsafe)
    if (value == nullptr) return false;
    std::size_t n = std::strlen(value);
    if (n > size - 1) n = size - 1;
    std::memcpy(buffer, value, n);
    buffer[n] = '\0';
    return true;
  }
};

}  // namespace

time_source& platform_time_source() {
  static posix_time_source source;
  return source;
}

}  // namespace tambre::sys
