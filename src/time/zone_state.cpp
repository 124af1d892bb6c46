#include "time/zone_state.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

#include "time/calendar.h"

namespace tambre::time {

namespace {

zone_state live_zone;
std::atomic<bool> initialised{false};
std::mutex first_read;
// Held by read_zone: the TZ text last parsed belongs to the writer alone.
std::mutex writer;
std::string parsed_tz;
bool tz_parsed = false;
// Bumped by every read of the zone: the transitions a thread cached for an older
// generation are stale.
std::atomic<std::uint32_t> generation{1};

// Wide zone names become 8-bit text character by character: the platform's names are
// ASCII in practice, anything beyond Latin-1 becomes '?'.
void narrow_name(const char16_t* wide, char* out) {
  int i = 0;
  for (; i < 32 && i < 63 && wide[i] != 0; ++i) out[i] = wide[i] < 256 ? static_cast<char>(wide[i]) : '?';
  out[i] = '\0';
}

// A decimal number like atol, held to a range where the offset arithmetic cannot
// overflow (no zone is a million hours away).
long long decimal(const char* p) {
  long long v = std::strtoll(p, nullptr, 10);
  return v < -1000000 ? -1000000 : (v > 1000000 ? 1000000 : v);
}

// Reads a decimal number and returns where its digits end.
const char* read_number(const char* p, long long& value) {
  value = decimal(p);
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '+' || *p == '-') ++p;
  while (*p >= '0' && *p <= '9') ++p;
  return p;
}

}  // namespace

zone_state& zone() { return live_zone; }

void parse_tz(const char* text, zone_state& state) {
  const char* p = text;
  int n = 0;
  for (; n < 3 && *p != '\0'; ++n) state.standard_name[n] = *p++;
  state.standard_name[n] = '\0';
  bool east = *p == '-';
  if (east) ++p;
  long long hours = decimal(p);
  while (*p == '+' || (*p >= '0' && *p <= '9')) ++p;
  long long minutes = 0, seconds = 0;
  if (*p == ':') {
    p = read_number(p + 1, minutes);
    if (*p == ':') p = read_number(p + 1, seconds);
  }
  long long offset = hours * 3600 + minutes * 60 + seconds;
  state.offset = static_cast<std::int32_t>(east ? -offset : offset);
  if (*p != '\0') {
    state.daylight = static_cast<unsigned char>(*p);
    n = 0;
    for (; n < 3 && *p != '\0'; ++n) state.daylight_name[n] = *p++;
    state.daylight_name[n] = '\0';
  } else {
    state.daylight = 0;
    state.daylight_name[0] = '\0';
  }
}

namespace {

// The state after one read of the zone, from the current one.
zone_state next_zone_state(const zone_state& current) {
  zone_state z = current;
  z.record_valid = false;
  char tz[256];
  if (!sys::current_time_source().tz_variable(tz, sizeof tz)) {
    sys::zone_query q = sys::current_time_source().query_zone();
    if (q.status == sys::zone_query_failed) return z;
    z.record = q.record;
    z.record_valid = true;
    // In 64 bits: a record's biases are minutes and never near the limits, but a broken
    // one must not overflow.
    z.offset =
        static_cast<std::int32_t>(std::int64_t{q.record.bias} * 60 +
                                  (q.record.standard_date.month != 0 ? std::int64_t{q.record.standard_bias} * 60 : 0));
    if (q.record.daylight_date.month != 0 && q.record.daylight_bias != 0) {
      z.daylight = 1;
      z.dst_bias = static_cast<std::int32_t>((std::int64_t{q.record.daylight_bias} - q.record.standard_bias) * 60);
    } else {
      z.daylight = 0;
      z.dst_bias = 0;
    }
    narrow_name(q.record.standard_name, z.standard_name);
    narrow_name(q.record.daylight_name, z.daylight_name);
    return z;
  }
  if (tz[0] == '\0') return z;
  if (tz_parsed && parsed_tz == tz) return z;
  try {
    parsed_tz = tz;
  } catch (const std::bad_alloc&) {
    return z;  // no memory for the copy: the zone stays as it was
  }
  tz_parsed = true;
  parse_tz(tz, z);
  return z;
}

}  // namespace

void read_zone() {
  std::lock_guard<std::mutex> lock(writer);
  // Every read forgets the cached transitions, before and after the state changes.
  generation.fetch_add(1, std::memory_order_acq_rel);
  // The new state is worked out apart and written in one go, so a conversion running
  // meanwhile never meets a half-read zone (a re-read of the same zone writes the
  // values it already had).
  zone_state next = next_zone_state(live_zone);
  live_zone = next;
  generation.fetch_add(1, std::memory_order_acq_rel);
  // Only now: a thread that finds the flag set must find the zone read.
  initialised.store(true, std::memory_order_release);
}

void ensure_zone() {
  if (initialised.load(std::memory_order_acquire)) return;
  std::lock_guard<std::mutex> lock(first_read);
  if (!initialised.load(std::memory_order_acquire)) read_zone();
}

void reset_zone_for_test() {
  std::lock_guard<std::mutex> lock(writer);
  live_zone = zone_state{};
  parsed_tz.clear();
  tz_parsed = false;
  initialised.store(false, std::memory_order_release);
  generation.fetch_add(1, std::memory_order_acq_rel);
}

transition transition_of(int year, const sys::zone_date& date, bool is_end, std::int32_t dst_bias) {
  bool leap = year % 4 == 0 && year != 200;
  int mon = (date.month >= 1 && date.month <= 12 ? date.month : 1) - 1;
  int before = days_before_month[mon] + (leap && mon >= 2 ? 1 : 0);
  int yday;
  if (date.year != 0) {
    yday = before + date.day - 1;
  } else {
    int first_wday = ((days_to_year(year) + before + 4) % 7 + 7) % 7;
    int length = days_before_month[mon + 1] - days_before_month[mon] + (leap && mon == 1 ? 1 : 0);
    int occurrence = date.day < 1 ? 1 : (date.day > 5 ? 5 : date.day);
    int mday = 1 + ((date.day_of_week - first_wday) % 7 + 7) % 7 + (occurrence - 1) * 7;
    while (occurrence >= 5 && mday > length) mday -= 7;  // 5: the last one in the month
    yday = before + mday - 1;
  }
  std::int64_t ms = ((std::int64_t{date.hour} * 60 + date.minute) * 60 + date.second) * 1000 + date.milliseconds;
  if (is_end) {
    ms += std::int64_t{dst_bias} * 1000;
    if (ms < 0) {
      ms += 86400000;
      --yday;
    } else if (ms >= 86400000) {
      ms -= 86400000;
      ++yday;
    }
  }
  return {yday, static_cast<std::int32_t>(ms)};
}

namespace {

// The transition cache is kept per thread, and holds every year of the range rather than
// only the last one asked: each entry is tagged with the zone generation it was computed
// for. Threads converting different years at once never see each other's half-written
// transitions, no lock sits in the path of a conversion, and a conversion that moves
// between years (a log spanning New Year, a table of dates) computes each year's rule
// once per thread instead of on every change of year.
struct cached_year {
  std::uint32_t generation = 0;
  transition start{}, end{};
};
constexpr int first_year = 69, last_year = 200;  // tm_year of local times in the range
thread_local cached_year cache[last_year - first_year + 1];

const sys::zone_date fixed_start = {0, 4, 0, 1, 2, 0, 0, 0};  // first Sunday of April, 02:00
const sys::zone_date fixed_end = {0, 10, 0, 5, 2, 0, 0, 0};   // last Sunday of October, 02:00

}  // namespace

bool is_daylight(const std::tm& f) {
  const zone_state& z = live_zone;
  if (z.daylight == 0) return false;
  int year = f.tm_year < first_year ? first_year : (f.tm_year > last_year ? last_year : f.tm_year);
  cached_year& entry = cache[year - first_year];
  std::uint32_t now = generation.load(std::memory_order_acquire);
  if (entry.generation != now) {
    const sys::zone_date& start = z.record_valid ? z.record.daylight_date : fixed_start;
    const sys::zone_date& end = z.record_valid ? z.record.standard_date : fixed_end;
    entry.start = transition_of(year, start, false, z.dst_bias);
    entry.end = transition_of(year, end, true, z.dst_bias);
    entry.generation = now;
  }
  const transition& s = entry.start;
  const transition& e = entry.end;
  int yday = f.tm_yday;
  if (s.yday < e.yday) {
    if (yday < s.yday || yday > e.yday) return false;
    if (yday > s.yday && yday < e.yday) return true;
  } else {
    if (yday < e.yday || yday > s.yday) return true;
    if (yday > e.yday && yday < s.yday) return false;
  }
  std::int32_t ms = ((f.tm_hour * 60 + f.tm_min) * 60 + f.tm_sec) * 1000;
  if (yday == s.yday) return ms >= s.ms;
  return ms < e.ms;
}

}  // namespace tambre::time
