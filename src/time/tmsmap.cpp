#include "tambre32/tmsmap.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "time/calendar.h"
#include "time/local_time.h"

namespace tt = tambre::time;

namespace {

// The whole seconds of a value, read as a time value: truncation toward zero, then the
// low 32 bits (the invalid -1.0 becomes 0xFFFFFFFF).
tt::time_value whole_seconds(double v) { return static_cast<tt::time_value>(static_cast<std::int64_t>(std::trunc(v))); }

}  // namespace

tmsmap::tmsmap(double v) : value(v) {}
tmsmap::tmsmap(tmsmap_long t) : value(conv(t, 0)) {}
tmsmap::tmsmap(tmsmap_long t, short ms) : value(conv(t, ms)) {}

double TAMBRE_FASTCALL tmsmap::conv(tmsmap_long t, short ms) {
  if (t == -1) return -1.0;
  return static_cast<double>(static_cast<std::uint32_t>(t)) + ms / 1000.0;
}

tmsmap& TAMBRE_FASTCALL tmsmap::operator=(const tmsmap& other) {
  value = other.value;
  return *this;
}
tmsmap& TAMBRE_FASTCALL tmsmap::operator=(double v) {
  value = v;
  return *this;
}
tmsmap TAMBRE_FASTCALL tmsmap::operator+(const tmsmap& other) { return tmsmap(value + other.value); }
tmsmap TAMBRE_FASTCALL tmsmap::operator-(const tmsmap& other) { return tmsmap(value - other.value); }
tmsmap TAMBRE_FASTCALL tmsmap::operator*(double d) { return tmsmap(value * d); }
tmsmap TAMBRE_FASTCALL tmsmap::operator*(tmsmap_long n) {
  if (n == -1) return tmsmap(-1.0);
  return tmsmap(value * static_cast<double>(static_cast<std::uint32_t>(n)));
}
tmsmap TAMBRE_FASTCALL tmsmap::operator/(double d) { return tmsmap(value / d); }
tmsmap TAMBRE_FASTCALL tmsmap::operator/(tmsmap_long n) { return tmsmap(value / static_cast<double>(n) * 1000.0); }

TAMBRE_FASTCALL tmsmap::operator double() const { return value; }

tmsmap_long TAMBRE_FASTCALL tmsmap::operator!() const {
  if (value < 0) return -1;
  return static_cast<tmsmap_long>(whole_seconds(value));
}

short TAMBRE_FASTCALL tmsmap::operator~() const {
  return static_cast<short>(static_cast<std::int64_t>(value * 1000.0) % 1000);
}

bool TAMBRE_FASTCALL tmsmap::eq(const tmsmap& other) const { return value == other.value; }
bool TAMBRE_FASTCALL tmsmap::ne(const tmsmap& other) const { return value != other.value; }
bool TAMBRE_FASTCALL tmsmap::lt(const tmsmap& other) const { return value < other.value; }
bool TAMBRE_FASTCALL tmsmap::gt(const tmsmap& other) const { return value > other.value; }

bool TAMBRE_FASTCALL tmsmap::addne(int days, int weeks, int months, int quarters, int years) {
  return subadd_nonequidist(days, weeks, months, quarters, years);
}

bool TAMBRE_FASTCALL tmsmap::subne(int days, int weeks, int months, int quarters, int years) {
  return subadd_nonequidist(-days, -weeks, -months, -quarters, -years);
}

bool TAMBRE_FASTCALL tmsmap::subadd_nonequidist(int days, int weeks, int months, int quarters, int years) {
  std::tm f;
  if (!tt::local_fields(whole_seconds(value), f)) return false;
  f.tm_mday += weeks * 7 + days;
  f.tm_mon += quarters * 3 + months;
  while (f.tm_mon < 0) {
    f.tm_mon += 12;
    f.tm_year -= 1;
  }
  f.tm_year += years;
  f.tm_isdst = -1;
  tt::time_value t = tt::make_local(f);
  if (t == tt::no_time) return false;
  value = static_cast<double>(t) + std::fmod(value, 1.0);
  return true;
}

bool TAMBRE_FASTCALL tmsmap::floorne(floormode mode) {
  tt::time_value t = whole_seconds(value);
  if (mode == fm_second || mode == fm_hour || mode == fm_minute) {
    if (mode == fm_hour) t -= t % 3600;
    if (mode == fm_minute) t -= t % 60;
    value = static_cast<double>(t);
    return true;
  }
  std::tm f;
  if (!tt::local_fields(t, f)) return false;
  int hour = f.tm_hour;
  f.tm_sec = f.tm_min = f.tm_hour = 0;
  f.tm_isdst = -1;
  switch (mode) {
    case fm_shift:
      f.tm_hour = hour / 8 * 8;
      break;
    case fm_4hours:
      f.tm_hour = hour / 4 * 4;
      break;
    case fm_day:
      break;
    case fm_week:
      f.tm_mday -= (f.tm_wday + 6) % 7;
      break;
    case fm_quarter:
      f.tm_mday = 1;
      f.tm_mon = f.tm_mon / 3 * 3;
      break;
    case fm_year:
    case fm_isoyear:
      f.tm_mday = 1;
      f.tm_mon = 0;
      break;
    default:
      f.tm_mday = 1;
      break;  // fm_month and anything unknown
  }
  tt::time_value floored = tt::make_local(f);
  if (floored == tt::no_time) return false;
  if (mode == fm_isoyear) {
    int w = (f.tm_wday + 6) % 7;  // weekday of January 1, 0 = Monday
    if (w < 4) {
      floored -= static_cast<tt::time_value>(w) * 86400u;
    } else {
      floored += static_cast<tt::time_value>(7 - w) * 86400u;
    }
  }
  value = static_cast<double>(floored);
  return true;
}

int TAMBRE_FASTCALL tmsmap::daypermonth(tmsmap_long t) {
  std::tm f;
  if (!tt::local_fields(static_cast<tt::time_value>(t), f)) return -1;
  return tt::days_of_month(f.tm_mon, f.tm_year);
}

int TAMBRE_FASTCALL tmsmap::daypermonth() { return daypermonth(operator!()); }
