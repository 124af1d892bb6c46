// Whether a schedule record is due at a time value.
#include "time/schedule_match.h"

#include <cstdint>
#include <ctime>
#include <mutex>

#include "sys/platform.h"
#include "tambre32/schedule.h"
#include "time/calendar.h"
#include "time/local_time.h"

namespace tt = tambre::time;

namespace {

// Drivers ask about one t for many records in a row: the breakdown of the last t is kept
// for the whole process, keyed by t alone (a later call with the same t and another offset
// reuses it). The lock only keeps concurrent callers from tearing it.
struct match_cache {
  std::mutex lock;
  tt::time_value key = tt::no_time;
  bool valid = false;  // false: the breakdown of `key` failed, and stays failed for that t
  std::tm fields{};
};

match_cache& cache() {
  static match_cache instance;
  return instance;
}

// The local breakdown for t, from the cache or fresh; false when there is none.
bool breakdown_for(tt::time_value t, int offset, std::tm& out) {
  match_cache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  if (t != c.key) {
    c.key = t;
    tt::time_value shifted = t + static_cast<tt::time_value>(offset);
    c.valid = tt::local_fields(shifted - shifted % 60, c.fields);
  }
  out = c.fields;
  return c.valid;
}

std::uint32_t u32(long long v) { return static_cast<std::uint32_t>(v); }

bool due_on_calendar_day(const tambre32::timespec& r, const std::tm& f) {
  int d = r.day + 1;
  int last = tt::days_of_month(f.tm_mon, f.tm_year);
  if (d > last) d = last;  // day 31 falls on the month's last day
  if (d != f.tm_mday) return false;
  switch (r.kind) {
    case tambre32::timespec_quarterly:
      return r.month % 3 == f.tm_mon % 3;
    case tambre32::timespec_yearly:
      return r.month == f.tm_mon;
    default:
      return true;
  }
}

}  // namespace

namespace tambre::time {

void forget_match_cache() {
  match_cache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  c.key = no_time;
  c.valid = false;
}

}  // namespace tambre::time

bool tambre32::timespec::match(timespec_long t, int offset) {
  const tt::time_value at = static_cast<tt::time_value>(t);
  if (at == tt::no_time) return false;
  std::tm f;
  if (!breakdown_for(at, offset, f)) return false;
  const int now = f.tm_hour * 3600 + f.tm_min * 60;
  const int due_time = hour * 3600 + minute * 60;
  switch (kind) {
    case timespec_once:
      return f.tm_year == year && f.tm_mon == month && f.tm_mday == day + 1 && f.tm_hour == hour && f.tm_min == minute;
    case timespec_minutely:
      // The first ten seconds of every minute of the system's UTC clock.
      return tambre::sys::current_time_source().utc_clock().second < 10;
    case timespec_hourly:
      return length != 0 && now % length == minute * 60;
    case timespec_daily:
      return length != 0 && now % length == due_time;
    case timespec_weekly:
      return length != 0 && (f.tm_wday * 86400 + now) % length == weekday * 86400LL + due_time;
    case timespec_monthly:
    case timespec_quarterly:
    case timespec_yearly:
      return now == due_time && due_on_calendar_day(*this, f);
    case timespec_user_defined: {
      const std::uint32_t s = u32(day) * 86400u + u32(due_time);
      if (s == 14400 || s == 28800) return now % s == 0;  // every 4 or 8 hours from midnight
      if (length == 60) return at % 60 < 30;
      if (length == 0) return false;
      return (u32(f.tm_yday) * 86400u + u32(now)) % u32(length) == s;
    }
    default:
      return false;
  }
}
