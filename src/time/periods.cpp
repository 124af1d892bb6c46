#include "time/periods.h"

#include "tambre32/tmsmap.h"
#include "time/local_time.h"
#include "time/zone_state.h"

namespace tambre::time {

namespace {

bool is_arithmetic(std::int32_t p) {
  switch (p) {
    case 10:
    case 20:
    case 30:
    case 60:
    case 300:
    case 600:
    case 900:
    case 1200:
    case 1800:
    case 3600:
      return true;
    default:
      return false;
  }
}

// The floor mode of a calendar period; false for the others.
bool calendar_mode(std::int32_t p, tmsmap::floormode& mode) {
  switch (p) {
    case 14400:
      mode = tmsmap::fm_4hours;
      return true;
    case 28800:
      mode = tmsmap::fm_shift;
      return true;
    case 86400:
      mode = tmsmap::fm_day;
      return true;
    case period_week:
      mode = tmsmap::fm_week;
      return true;
    case period_month:
      mode = tmsmap::fm_month;
      return true;
    case period_quarter:
      mode = tmsmap::fm_quarter;
      return true;
    case period_year:
      mode = tmsmap::fm_year;
      return true;
    default:
      return false;
  }
}

// Seconds to add to local time to get UTC at t, daylight time included; false when t
// cannot be broken down.
bool local_offset(time_value t, time_value& offset) {
  std::tm f;
  if (!local_fields(t, f)) return false;
  const zone_state& z = zone();
  offset = static_cast<time_value>(z.offset) + (f.tm_isdst > 0 ? static_cast<time_value>(z.dst_bias) : 0u);
  return true;
}

tmsmap as_tmsmap(time_value t) { return tmsmap(static_cast<tmsmap_long>(t)); }

time_value whole(const tmsmap& m) { return static_cast<time_value>(!m); }

}  // namespace

time_value period_floor(time_value t, std::int32_t p) {
  if (p < 1) return no_time;
  const time_value up = static_cast<time_value>(p);
  if (is_arithmetic(p)) return t - t % up;
  tmsmap::floormode mode;
  if (calendar_mode(p, mode)) {
    tmsmap m = as_tmsmap(t);
    m.floorne(mode);  // a failed floor keeps t
    return whole(m);
  }
  // Aligned to multiples of p from 1970-01-01 00:00 local time, in t's daylight state.
  // A time that cannot be broken down stays as it is, like the calendar periods.
  time_value o;
  if (!local_offset(t, o)) return t;
  time_value u = t - o;
  return u - u % up + o;
}

time_value period_ceil(time_value t, std::int32_t p) {
  if (p < 1) return no_time;
  const time_value up = static_cast<time_value>(p);
  if (is_arithmetic(p)) return (t + up - 1) / up * up;
  tmsmap::floormode mode;
  if (calendar_mode(p, mode)) {
    time_value f = period_floor(t, p);
    if (f >= t) return f;
    if (p == 28800 || p == 14400) return f + up;  // elapsed hours, not wall-clock ones
    tmsmap next = as_tmsmap(f);
    bool added = false;
    switch (p) {
      case 86400:
        added = next.addne(1, 0, 0, 0, 0);
        break;
      case period_week:
        added = next.addne(0, 1, 0, 0, 0);
        break;
      case period_month:
        added = next.addne(0, 0, 1, 0, 0);
        break;
      case period_quarter:
        added = next.addne(0, 0, 0, 1, 0);
        break;
      default:
        added = next.addne(0, 0, 0, 0, 1);
        break;
    }
    return added ? whole(next) : f;
  }
  time_value o;
  if (!local_offset(t, o)) return t;
  time_value u = t - o;
  return (u + up - 1) / up * up + o;
}

std::int32_t period_length(time_value t, std::int32_t p, int flags) {
  if (p < 0) return -1;
  const bool correct = (flags & 1) != 0;
  const zone_state& z = zone();
  if (p == 14400 || p == 28800 || p == 86400 || p == 604800 || p == period_week) {
    const std::int32_t length = p - p % 60;
    std::tm f;
    if (!correct || !local_fields(t, f)) return length;
    if ((p == 14400 || p == 28800) && f.tm_hour >= length / 3600) return length;
    // The Sunday that ends t's week must be the last Sunday of t's month.
    const int month_days = days_of_month(f.tm_mon, f.tm_year);
    const int sunday = f.tm_mday + (f.tm_wday == 0 ? 0 : 7 - f.tm_wday);
    if (sunday <= month_days - 7 || sunday > month_days) return length;
    if (f.tm_mon != 2 && f.tm_mon != 9) return length;
    if (length <= 86400 && f.tm_wday != 0) return length;
    return f.tm_mon == 2 ? length + z.dst_bias : length - z.dst_bias;
  }
  const bool month = p == period_month || p == period_month - 1;
  const bool quarter = p == period_quarter || p == period_quarter - 1;
  const bool year = p == period_year || p == period_year - 1;
  if (!month && !quarter && !year) return p;
  std::tm f;
  if (!local_fields(t, f)) return -1;
  if (year) return (gregorian_leap(f.tm_year) ? 366 : 365) * 86400;
  const bool daylight = correct && z.daylight != 0;
  if (month) {
    std::int32_t length = days_of_month(f.tm_mon, f.tm_year) * 86400;
    if (daylight && f.tm_mon == 2) length += z.dst_bias;
    if (daylight && f.tm_mon == 9) length -= z.dst_bias;
    return length;
  }
  const int first = f.tm_mon / 3 * 3;
  std::int32_t length = 0;
  for (int m = first; m < first + 3; ++m) length += days_of_month(m, f.tm_year) * 86400;
  if (daylight && first == 0) length += z.dst_bias;
  if (daylight && first == 9) length -= z.dst_bias;
  return length;
}

int daylight_day(time_value t, const std::tm* local) {
  ensure_zone();
  if (zone().dst_bias == 0) return 0;
  std::tm f;
  if (local == nullptr) {
    if (t == no_time) t = current_time();
    if (!local_fields(t, f)) return 0;
    local = &f;
  }
  if (local->tm_wday != 0 || local->tm_mday + 7 <= 31) return 0;
  if (local->tm_mon == 2) return 1;
  if (local->tm_mon == 9) return -1;
  return 0;
}

std::int32_t calendar_quantity(int code, time_value t, const std::tm* local) {
  ensure_zone();  // a caller's fields skip the breakdown that would read the zone
  std::tm f;
  if (local == nullptr) {
    if (!local_fields(t, f)) return -1;
    local = &f;
  }
  const std::tm& l = *local;
  const zone_state& z = zone();
  const time_value standard = t - static_cast<time_value>(z.offset);
  if (code >= 200 && code <= 299) {
    return code - 200 < 12 ? period_length(t, standard_periods[code - 200], 1) : -1;
  }
  if (code >= 300 && code <= 399) {
    return code - 300 < 12 ? static_cast<std::int32_t>(period_floor(t, standard_periods[code - 300])) : -1;
  }
  switch (code) {
    case 0:
      return l.tm_sec + 60 * l.tm_min + 3600 * l.tm_hour;
    case 1:
      return l.tm_sec;
    case 2:
      return l.tm_min;
    case 3:
      return l.tm_hour;
    case 4:
      return l.tm_mday;
    case 5:
      return l.tm_mon + 1;
    case 6:
      return l.tm_year + 1900;
    case 7:
      return l.tm_wday;
    case 8:
    case 9:
    case 10:
      return week_of_year(l.tm_yday, l.tm_wday, code - 8);
    case 11:
      return l.tm_yday + 1;
    case 12:
      return gregorian_leap(l.tm_year) ? 366 : 365;
    case 13:
      return days_of_month(l.tm_mon, l.tm_year);
    case 14:
      return static_cast<std::int32_t>(standard / 86400u);
    case 15:
      return static_cast<std::int32_t>(standard);
    case 16:
      return static_cast<std::int32_t>(t);
    case 17:
      return -z.offset;
    case 18:
      return l.tm_isdst > 0 ? 1 : 0;
    case 19:
      // A fixed hour, whatever the zone's bias.
      return static_cast<std::int32_t>(standard + (l.tm_isdst != 0 ? 3600u : 0u));
    case 23:
      return z.dst_bias * daylight_day(t, &l);
    case 24:
      return (l.tm_wday + 6) % 7;
    case 25: {
      std::tm first{};
      first.tm_year = l.tm_year;
      first.tm_mon = l.tm_mon / 3 * 3;
      first.tm_mday = 1;
      first.tm_isdst = -1;
      if (make_local(first) == no_time) return -1;
      return l.tm_yday + 1 - first.tm_yday;
    }
    case 26:
      return static_cast<std::int32_t>(current_time());
    default:
      return -1;
  }
}

double calendar_quantity_double(int code, time_value t, const std::tm* local) {
  std::int32_t v = calendar_quantity(code, t, local);
  if (v == -1) return -1.0;
  if (code == 17 || code == 23) return static_cast<double>(v);
  return static_cast<double>(static_cast<std::uint32_t>(v));
}

}  // namespace tambre::time
