// Float text read back: the forms of the flag word or of a prefix, and the error tokens.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include "base/ascii.h"

#include "text/float_text.h"
#include "time/time_text.h"

namespace tambre::text {

namespace {

bool is_lower_letter(char c) { return c >= 'a' && c <= 'z'; }

bool equal_ignoring_case(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a + 32) : *a;
    char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b + 32) : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

double scan_integer(const char* p, bool binary, bool& failed) {
  failed = true;
  double sign = 1.0;
  if (*p == '-') {
    sign = -1.0;
    ++p;
  }
  const unsigned radix = binary ? 2 : 16;
  const int most = binary ? 32 : 8;
  std::uint32_t value = 0;
  for (int i = 0; i < most; ++i, ++p) {
    unsigned digit;
    if (base::is_digit(*p)) {
      digit = static_cast<unsigned>(*p - '0');
    } else if (*p >= 'a' && *p <= 'f') {
      digit = static_cast<unsigned>(*p - 'a' + 10);
    } else {
      break;
    }
    if (digit >= radix) break;
    value = value * radix + digit;
    failed = false;
  }
  // An invalid digit, or more digits than 32 bits hold.
  if (base::is_digit(*p) || is_lower_letter(*p)) failed = true;
  return static_cast<double>(value) * sign;
}

// A run of decimal digits as a double: no length overflows.
double read_digits(const char*& p) {
  double value = 0;
  for (; base::is_digit(*p); ++p) value = value * 10 + (*p - '0');
  return value;
}

double scan_duration_field(const char* text, bool& failed) {
  const char* p = text;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  double days = 0;
  if (const char* d = std::strchr(p, 'd')) {
    const char* q = p;
    while (base::is_space(*q)) ++q;
    days = read_digits(q) * 86400;
    p = d + 1;
  }
  double sum = 0;
  for (int component = 0; component < 3; ++component) {
    if (!base::is_digit(*p) && days == 0) failed = true;
    const char* q = p;
    while (base::is_space(*q)) ++q;
    sum = sum * 60 + read_digits(q);
    p = q;
    if (*p != ':') break;
    ++p;
  }
  const char* point = std::strchr(text, '.');
  if (point == nullptr) point = std::strchr(text, ',');
  double fraction = 0;
  if (point != nullptr) {
    double scale = 0.1;
    for (const char* q = point + 1; base::is_digit(*q); ++q, scale /= 10) fraction += (*q - '0') * scale;
  }
  double result = days + sum + fraction;
  return negative ? -result : result;
}

// Optional sign, digits, point, digits, exponent: the longest such text at p, without
// the words and hexadecimal forms of the C library's reader.
std::size_t decimal_number_length(const char* p) {
  const char* q = p;
  if (*q == '+' || *q == '-') ++q;
  const char* mantissa = q;
  while (base::is_digit(*q)) ++q;
  bool digits = q != mantissa;
  if (*q == '.') {
    const char* after = q + 1;
    while (base::is_digit(*after)) ++after;
    if (digits || after != q + 1) {
      digits = true;
      q = after;
    }
  }
  if (!digits) return 0;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    if (*e == '+' || *e == '-') ++e;
    if (base::is_digit(*e)) {
      while (base::is_digit(*e)) ++e;
      q = e;
    }
  }
  return static_cast<std::size_t>(q - p);
}

// The decimal at p when it has no exponent, its digits fit 2^53 and at most 22 follow the
// point: the integer and the power of ten are then exact doubles, and one correctly
// rounded division gives the nearest double, the one the full reader finds too. Where
// doubles are evaluated wider than they are stored, always the full reader.
bool scan_short_decimal(const char* p, double& value) {
#if FLT_EVAL_METHOD == 0
  static constexpr double powers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::uint64_t mantissa = 0;
  int digits = 0;
  for (; base::is_digit(*p); ++p, ++digits) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  int scale = 0;  // digits after the point
  if (*p == '.') {
    for (++p; base::is_digit(*p); ++p, ++scale) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  }
  digits += scale;
  if (digits == 0 || digits > 19 || *p == 'e' || *p == 'E') return false;
  if (mantissa > (std::uint64_t{1} << 53) || scale > 22) return false;
  const double magnitude = static_cast<double>(mantissa) / powers[scale];
  value = negative ? -magnitude : magnitude;
  return true;
#else
  (void)p;
  (void)value;
  return false;
#endif
}

double scan_plain(char* text, const char* token, char decimal_separator, bool& failed) {
  if (decimal_separator != '.') {
    if (char* at = std::strchr(text, decimal_separator)) *at = '.';
  }
  double value = 0;
  if (scan_short_decimal(text, value)) {
    failed = false;
    return value;
  }
  std::size_t length = decimal_number_length(text);
  if (length > 0) {
    const char* first = text + (text[0] == '+' ? 1 : 0);  // from_chars takes no '+'
    auto result = std::from_chars(first, text + length, value);
    failed = false;
    if (result.ec == std::errc::result_out_of_range) {
      // Beyond the doubles: infinity or zero with the sign, as the C library reads it.
      bool negative = text[0] == '-';
      const char* e = std::strpbrk(text, "eE");
      bool tiny = e != nullptr && e < text + length && e[1] == '-';
      value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
      if (negative) value = -value;
    }
    return value;
  }
  failed = true;
  if (equal_ignoring_case(token, "#NAN")) {
    failed = false;
    std::uint64_t bits = 0xFFFF000000000000ull;
    double nan;
    std::memcpy(&nan, &bits, sizeof nan);
    return nan;
  }
  if (equal_ignoring_case(token, "#INF")) {
    failed = false;
    return std::numeric_limits<double>::infinity();
  }
  if (equal_ignoring_case(token, "#NINF")) {
    failed = false;
    return -std::numeric_limits<double>::infinity();
  }
  return 0.0;
}

}  // namespace

double scan_float(char* text, unsigned flags, bool& failed, const locale::locale_snapshot& locale) {
  failed = true;
  if (text == nullptr) return 0.0;
  char* p = text;
  while (base::is_space(*p)) ++p;
  char prefix = 0;
  if (*p == '#') {
    prefix = '#';
  } else if (*p == '&') {
    ++p;
    prefix = *p;
  }
  failed = *p == '\0';
  for (char* c = p; *c != '\0'; ++c) {
    if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c + 32);
  }
  // The error tokens are compared from the '#' on.
  const char* token = p;
  switch (prefix) {
    case '#':
      flags = 0;
      ++p;
      break;
    case 'T':
      flags = ff_time | ff_zero;
      ++p;
      break;
    case 't':
      flags = ff_time;
      ++p;
      break;
    case 'x':
      flags = ff_hex;
      ++p;
      break;
    case 'b':
      flags = ff_bin;
      ++p;
      break;
    default:
      break;
  }
  const unsigned given = flags;
  if ((flags & ff_raw) != 0) {
    if ((flags & (ff_time | ff_zero)) == (ff_time | ff_zero) || (flags & (ff_bin | ff_hex)) != 0) {
      flags = 0;
    } else {
      flags &= ~static_cast<unsigned>(ff_zero);
    }
  }

  if ((flags & (ff_bin | ff_hex)) != 0) return scan_integer(p, (flags & ff_bin) != 0, failed);
  if ((flags & (ff_time | ff_zero)) == (ff_time | ff_zero)) {
    if ((given & ff_skipalpha) != 0) {
      while (is_lower_letter(*p)) ++p;
    }
    time::time_value t = time::scan_time(p, true, locale);
    failed = t == time::no_time;
    return failed ? -1.0 : static_cast<double>(t);
  }
  if ((flags & ff_time) != 0) {
    bool empty = failed;
    double value = scan_duration_field(p, failed);
    failed = failed || empty;
    return value;
  }
  return scan_plain(p, token, locale.decimal_separator[0], failed);
}

}  // namespace tambre::text
