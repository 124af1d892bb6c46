// Relative time expressions: a keyword naming the start of the current second, minute,
// hour, day, week, month, year or shift, followed by signed offsets (DAY-1D, NOW-90S).
#include <cstdlib>
#include <cstring>
#include "base/ascii.h"

#include "tambre32/tmsmap.h"
#include "time/local_time.h"
#include "time/time_text.h"

namespace tambre::time {

namespace {

struct keyword {
  const char* text;
  bool floored;
  tmsmap::floormode mode;
};

// Tried in this order, as prefixes.
constexpr keyword keywords[] = {
    {"NOW", false, tmsmap::fm_second}, {"SECOND", true, tmsmap::fm_second}, {"MINUTE", true, tmsmap::fm_minute},
    {"HOUR", true, tmsmap::fm_hour},   {"DAY", true, tmsmap::fm_day},       {"WEEK", true, tmsmap::fm_week},
    {"MONTH", true, tmsmap::fm_month}, {"YEAR", true, tmsmap::fm_year},     {"SHIFT", true, tmsmap::fm_shift},
};

const char* skip_blanks(const char* p) {
  while (base::is_space(*p)) ++p;
  return p;
}

// A signed decimal number; the sign must touch the digits. Large numbers saturate: no
// calendar offset beyond the saturation point can give a time in range.
bool read_signed(const char*& p, long long& n) {
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (n < 1000000000000LL) n = n * 10 + (*p - '0');
  }
  if (negative) n = -n;
  return true;
}

// Days, weeks, months or years; beyond this many no addition stays within 1970-2099,
// so it fails just as the calendar addition would.
constexpr long long calendar_offset_limit = 100000;

void add_calendar(tmsmap& value, long long n, int unit_index) {
  if (n > calendar_offset_limit || n < -calendar_offset_limit) return;
  int units[5] = {0, 0, 0, 0, 0};
  units[unit_index] = static_cast<int>(n);
  value.addne(units[0], units[1], units[2], units[3], units[4]);
}

}  // namespace

time_value scan_relative_time(const char* text) {
  if (text == nullptr || *text == '\0') return no_time;
  char upper[scanned_text_length + 1] = {};
  std::strncpy(upper, text, scanned_text_length);
  for (char* c = upper; *c != '\0'; ++c) {
    if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
  }

  const keyword* found = nullptr;
  for (const keyword& k : keywords) {
    if (std::strncmp(upper, k.text, std::strlen(k.text)) == 0) {
      found = &k;
      break;
    }
  }
  if (found == nullptr) return no_time;
  tmsmap value(static_cast<tmsmap_long>(current_time()));
  if (found->floored) value.floorne(found->mode);

  const char* p = skip_blanks(upper + std::strlen(found->text));
  while (*p != '\0') {
    long long n;
    if (!read_signed(p, n)) return no_time;
    p = skip_blanks(p);
    switch (*p) {
      case 'D':
        add_calendar(value, n, 0);
        break;
      case 'W':
        add_calendar(value, n, 1);
        break;
      case 'Y':
        add_calendar(value, n, 4);
        break;
      case 'H':
        value = static_cast<double>(value) + static_cast<double>(n) * 3600.0;
        break;
      case 'M':
        if (p[1] == 'O') {
          add_calendar(value, n, 2);
          ++p;
        } else {
          value = static_cast<double>(value) + static_cast<double>(n) * 60.0;
        }
        break;
      case 'S':
        value = static_cast<double>(value) + static_cast<double>(n);
        break;
      default:
        return no_time;
    }
    p = skip_blanks(p + 1);
  }
  return static_cast<time_value>(!value);
}

}  // namespace tambre::time
