// Float text: a value written into a fixed-width field in one of several forms.
#include "text/float_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "text/fixed_point.h"
#include "time/calendar.h"
#include "time/time_text.h"

namespace tambre::text {

namespace {

// Longest text any form writes: the exponent form with 121 decimals, sign and "E+308".
constexpr std::size_t work_size = 160;

// The form a flag word selects once FF_RAW is resolved.
struct resolved_form {
  unsigned flags;
  int width;
  int decimals;
};

resolved_form resolve_raw(unsigned flags, int decimals) {
  resolved_form r{flags & ~static_cast<unsigned>(ff_width), static_cast<int>(flags & ff_width), decimals};
  if ((flags & ff_raw) == 0) return r;
  if ((flags & (ff_time | ff_zero)) == (ff_time | ff_zero)) {
    // A date and time becomes its plain count of seconds.
    return {0, 11, 0};
  }
  if ((flags & (ff_bin | ff_hex)) != 0) {
    r.flags = 0;
  } else {
    r.flags &= ~static_cast<unsigned>(ff_zero | ff_raw);
  }
  r.flags &= ~static_cast<unsigned>(ff_raw);
  return r;
}

// Rewrites the exponent of "%E" output to its sign and three digits (1.50E+003).
void three_digit_exponent(char* text) {
  char* e = std::strchr(text, 'E');
  if (e == nullptr || (e[1] != '+' && e[1] != '-')) return;
  char* digits = e + 2;
  std::size_t n = std::strlen(digits);
  if (n >= 3) return;
  std::memmove(digits + (3 - n), digits, n + 1);
  std::memset(digits, '0', 3 - n);
}

// "%.*E" into out; false when it needs more than `room` - 1 characters.
bool write_exponent(char* out, std::size_t room, int decimals, double value) {
  int n = std::snprintf(out, room, "%.*E", decimals, value);
  if (n < 0 || static_cast<std::size_t>(n) + 1 > room) return false;
  three_digit_exponent(out);
  return std::strlen(out) < room;
}

// A minus sign before nothing but zeros goes: -0.00 is 0.00.
void drop_negative_zero(char* text) {
  if (text[0] != '-') return;
  for (const char* p = text + 1; *p != '\0'; ++p) {
    if (*p >= '1' && *p <= '9') return;
  }
  std::memmove(text, text + 1, std::strlen(text));
}

void write_filler(char* out, int width, int decimals, char fill) {
  if (decimals <= 0 || decimals >= width) decimals = 0;
  int integer = decimals != 0 ? width - decimals - 1 : width;
  char* p = out;
  for (int i = 0; i < integer; ++i) *p++ = fill;
  if (decimals != 0) {
    *p++ = '.';
    for (int i = 0; i < decimals; ++i) *p++ = fill;
  }
  *p = '\0';
}

void write_integer(char* out, double value, bool hex) {
  std::uint32_t bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(value)));
  if (hex) {
    std::snprintf(out, 16, "%X", bits);
    return;
  }
  char digits[33];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + (bits & 1u));
    bits >>= 1;
  } while (bits != 0);
  for (int i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  out[n] = '\0';
}

void write_duration(char* out, double value, int decimals) {
  char* p = out;
  if (value < 0) {
    *p++ = '-';
    value = -value;
  }
  value += 0.00049;
  std::int64_t s = static_cast<std::int64_t>(value);
  if (s >= 86400) p += std::sprintf(p, "%id ", static_cast<int>(s / 86400));
  s %= 86400;
  p += std::sprintf(p, "%02i:%02i:%02i", static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60),
                    static_cast<int>(s % 60));
  if (decimals != 0) {
    // Written through a whole-valued double, so that many decimals cannot overflow.
    double fraction = std::floor((value - std::floor(value)) * std::pow(10.0, decimals) + 0.49);
    std::snprintf(p, work_size - static_cast<std::size_t>(p - out), ".%0*.0f", decimals, fraction);
  }
}

void pad_with_zeros(char* text, int width) {
  std::size_t length = std::strlen(text);
  if (static_cast<int>(length) >= width) return;
  std::size_t missing = static_cast<std::size_t>(width) - length;
  char* at = text + (text[0] == '+' || text[0] == '-' ? 1 : 0);
  std::memmove(at + missing, at, std::strlen(at) + 1);
  std::memset(at, '0', missing);
}

}  // namespace

void format_float(char* out, unsigned flags, int decimals, double value, int state,
                  const locale::locale_snapshot& locale) {
  // Numbers are written with '.'; the locale orders the date and time form. Callers
  // who show a number with the locale's decimal character convert it (lcFloatConv).
  if (decimals < 0) decimals = 0;
  const int given_width = static_cast<int>(flags & ff_width);
  if (state == fv_blank) {
    std::memset(out, ' ', static_cast<std::size_t>(given_width));
    out[given_width] = '\0';
    return;
  }
  if (state == fv_dash || state == fv_hash) {
    write_filler(out, given_width, decimals, state == fv_dash ? '-' : '#');
    return;
  }
  if (std::isnan(value)) {
    std::strcpy(out, "#NAN");
    return;
  }
  if (std::isinf(value)) {
    std::strcpy(out, value < 0 ? "#NINF" : "#INF");
    return;
  }

  resolved_form form = resolve_raw(flags, decimals);
  decimals = form.decimals;
  const int width = form.width;
  char text[work_size];
  bool too_long = false;
  // Error tokens of the integer, date and duration forms are final: no width check and
  // no padding turns them into something else.
  if ((form.flags & (ff_bin | ff_hex)) != 0) {
    if (value < -2147483648.0 || value > 4294967295.0) {
      std::strcpy(out, "#NAN");
      return;
    }
    write_integer(text, value, (form.flags & ff_hex) != 0);
  } else if ((form.flags & (ff_time | ff_zero)) == (ff_time | ff_zero)) {
    if (!(value >= 0.0 && value <= 4102444799.0)) {
      std::strcpy(out, "#NAN");
      return;
    }
    time::format_time(text, static_cast<time::time_value>(value), 0, (flags & ff_width) * 2u, locale);
    std::strcpy(out, text[0] != '\0' ? text : "#NAN");
    return;
  } else if ((form.flags & ff_time) != 0) {
    if (value < -2147483647.0 || value > 2147483647.0) {
      std::strcpy(out, "#NAN");
      return;
    }
    write_duration(text, value, decimals);
  } else {
    // At most 79 characters; a longer text is longer than any width.
    constexpr std::size_t room = 80;
    bool fits = (form.flags & ff_exp) != 0 ? write_exponent(text, room, decimals, value)
                                           : write_fixed(text, room, decimals, value);
    if (fits) drop_negative_zero(text);
    too_long = !fits;
  }

  if (too_long || static_cast<int>(std::strlen(text)) > width) {
    // Too wide for the field: exponent form with as many decimals as the width allows.
    // The rewritten text is not measured again.
    int e = width - 6 <= decimals ? (width < 7 ? 0 : width - 6) : decimals;
    write_exponent(text, work_size, e, value);
  } else if ((form.flags & ff_zero) != 0) {
    pad_with_zeros(text, width);
  }
  if (std::strchr(text, '#') != nullptr) std::strcpy(text, "#NAN");
  std::strcpy(out, text);
}

}  // namespace tambre::text
