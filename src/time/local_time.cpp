#include "time/local_time.h"
#include "base/file_time_epoch.h"

#include <atomic>

#include "sys/platform.h"
#include "time/zone_state.h"

namespace tambre::time {

namespace {

// Floor division and remainder for the borrows of the range-end breakdown.
int floor_div(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

// Close to either end of the range the shifted value would leave it, so the offset is
// taken off the UTC fields directly.
bool local_fields_at_range_end(time_value t, std::tm& f) {
  const zone_state& z = zone();
  gm_fields(t, f);
  std::int64_t offset = z.offset;
  if (z.daylight != 0 && is_daylight(f)) offset += z.dst_bias;
  // Zone offsets are hours; anything wider than a few days is no zone and is held there.
  if (offset > 7 * 86400) offset = 7 * 86400;
  if (offset < -7 * 86400) offset = -7 * 86400;
  int sec = f.tm_sec - static_cast<int>(offset);
  int carry = floor_div(sec, 60);
  f.tm_sec = sec - carry * 60;
  int min = f.tm_min + carry;
  carry = floor_div(min, 60);
  f.tm_min = min - carry * 60;
  int hour = f.tm_hour + carry;
  int days = floor_div(hour, 24);
  f.tm_hour = hour - days * 24;
  if (days > 0) {
    f.tm_wday = (f.tm_wday + days) % 7;
    f.tm_mday += days;
    f.tm_yday += days;
  } else if (days < 0) {
    f.tm_wday = ((f.tm_wday + days) % 7 + 7) % 7;
    f.tm_mday += days;
    if (f.tm_mday <= 0) {
      f.tm_mday += 31;
      f.tm_yday = 364;
      f.tm_mon = 11;
      f.tm_year -= 1;
    } else {
      f.tm_yday += days;
    }
  }
  if (f.tm_mday > 31) {
    if (f.tm_year != 199 || f.tm_mon != 11) return false;
    f.tm_mday = 1;
    f.tm_mon = 0;
    f.tm_year = 200;
    f.tm_yday = 0;
  }
  f.tm_isdst = 0;
  return true;
}

// The daylight-saving indicator of the current UTC minute, shared by all threads as one
// word: UTC year, month, day, hour, minute and the indicator packed together, so a
// reader never pairs one thread's minute with another's indicator.
std::atomic<std::uint64_t> minute_cache{0};

std::uint64_t minute_key(const sys::wall_clock& c) {
  return (static_cast<std::uint64_t>(c.year & 0xFFFF) << 26) | (static_cast<std::uint64_t>(c.month & 15) << 22) |
         (static_cast<std::uint64_t>(c.day & 31) << 17) | (static_cast<std::uint64_t>(c.hour & 31) << 12) |
         (static_cast<std::uint64_t>(c.minute & 63) << 6);
}

int daylight_indicator(sys::time_source& source, const sys::wall_clock& utc) {
  std::uint64_t key = minute_key(utc) | 1u;  // bit 0: the entry is filled
  std::uint64_t cached = minute_cache.load(std::memory_order_acquire);
  if ((cached & ~std::uint64_t{0x3E}) == key) return static_cast<int>((cached >> 1) & 3) - 1;
  sys::zone_query q = source.query_zone();
  int indicator;
  if (q.status == sys::zone_query_failed) {
    indicator = -1;
  } else if (q.status != sys::zone_daylight_now) {
    indicator = 0;
  } else {
    indicator = q.record.daylight_date.month != 0 && q.record.daylight_bias != 0 ? 1 : 0;
  }
  minute_cache.store(key | (static_cast<std::uint64_t>(indicator + 1) << 1), std::memory_order_release);
  return indicator;
}

}  // namespace

bool local_fields(time_value t, std::tm& out) {
  if (t > last_time) return false;
  ensure_zone();
  const zone_state& z = zone();
  if (t > 259200u && t < 4102185599u) {
    // A zone's offset keeps the shifted value inside the range; one read from a broken
    // record (days away) gives no time rather than wild fields.
    if (!gm_fields(t - static_cast<time_value>(z.offset), out)) return false;
    if (z.daylight != 0 && is_daylight(out)) {
      // A whole-hour bias that stays within the day only moves the hour; anything else
      // is broken down again.
      int hour = out.tm_hour - z.dst_bias / 3600;
      if (z.dst_bias % 3600 == 0 && hour >= 0 && hour < 24) {
        out.tm_hour = hour;
      } else if (!gm_fields(t - static_cast<time_value>(z.offset) - static_cast<time_value>(z.dst_bias), out)) {
        return false;
      }
      out.tm_isdst = 1;
    }
    return true;
  }
  return local_fields_at_range_end(t, out);
}

time_value make_local(std::tm& fields) {
  std::int32_t minutes;
  if (!minutes_of(fields, minutes)) return no_time;
  ensure_zone();
  const zone_state& z = zone();
  time_value t = static_cast<time_value>(minutes) * 60u + static_cast<time_value>(fields.tm_sec) +
                 static_cast<time_value>(z.offset);
  std::tm result;
  if (!local_fields(t, result)) return no_time;
  if (fields.tm_isdst > 0 || (fields.tm_isdst < 0 && result.tm_isdst > 0)) {
    t += static_cast<time_value>(z.dst_bias);
    if (!local_fields(t, result)) return no_time;
  }
  if (t > last_time) return no_time;
  fields = result;
  return t;
}

time_value current_time() {
  ensure_zone();
  sys::time_source& source = sys::current_time_source();
  sys::wall_clock local = source.local_clock();
  sys::wall_clock utc = source.utc_clock();
  int indicator = daylight_indicator(source, utc);
  if (local.year < 1970 || local.year > 2099 || local.month < 1 || local.month > 12) return no_time;
  int year = local.year - 1900;
  int yday = days_before_month[local.month - 1] + local.day - 1 + (local.month >= 3 && year % 4 == 0 ? 1 : 0);
  const zone_state& z = zone();
  time_value t = static_cast<time_value>(((days_to_year(year) + yday) * 24 + local.hour) * 60 + local.minute) * 60u +
                 static_cast<time_value>(local.second) + static_cast<time_value>(z.offset);
  bool dst = indicator == 1;
  if (indicator == -1 && z.daylight != 0) {
    std::tm f{};
    f.tm_year = year;
    f.tm_yday = yday;
    f.tm_hour = local.hour;
    f.tm_min = local.minute;
    f.tm_sec = local.second;
    dst = is_daylight(f);
  }
  if (dst) t += static_cast<time_value>(z.dst_bias);
  return t;
}

void forget_minute_cache() { minute_cache.store(0, std::memory_order_release); }

void millisecond_clock(timeb_record& out) {
  ensure_zone();
  std::uint64_t units = sys::current_time_source().utc_file_time();
  out.time =
      static_cast<std::uint32_t>((units - base::file_time_units_1601_to_1970) / base::file_time_units_per_second);
  out.millitm = static_cast<std::uint16_t>(units / 10000ull % 1000ull);
  out.timezone = static_cast<std::int16_t>(zone().offset / 60);
  out.dstflag = -1;
}

std::tm& thread_result() {
  // Static thread storage cannot fail to be had, so the process-wide fallback buffer of
  // an allocating design is not needed here.
  thread_local std::tm result{};
  return result;
}

char* text_result() {
  static char text[26];
  return text;
}

}  // namespace tambre::time
