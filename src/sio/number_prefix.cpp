#include "sio/number_prefix.h"
#include "base/ascii.h"

#include <climits>
#include <cmath>

namespace tambre::sio {

namespace {

// Skips blanks and a sign; returns -1 for '-', else 1.
int take_sign(const char*& p) {
  while (base::is_space(*p)) ++p;
  if (*p == '-' || *p == '+') return *p++ == '-' ? -1 : 1;
  return 1;
}

}  // namespace

int integer_prefix(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  const int sign = take_sign(p);
  long long value = 0;
  for (; base::is_digit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  value *= sign;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double decimal_prefix(const char* text) {
  if (text == nullptr) return 0.0;
  const char* p = text;
  const int sign = take_sign(p);
  double value = 0.0;
  bool digits = false;
  for (; base::is_digit(*p); ++p, digits = true) value = value * 10.0 + (*p - '0');
  if (*p == '.') {
    double scale = 0.1;
    for (++p; base::is_digit(*p); ++p, digits = true, scale /= 10.0) value += (*p - '0') * scale;
  }
  if (!digits) return 0.0;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    int exp_sign = 1;
    if (*q == '-' || *q == '+') exp_sign = *q++ == '-' ? -1 : 1;
    if (base::is_digit(*q)) {
      int exponent = 0;
      for (; base::is_digit(*q); ++q) exponent = exponent < 10000 ? exponent * 10 + (*q - '0') : exponent;
      value *= std::pow(10.0, exp_sign * exponent);
    }
  }
  return sign * value;
}

}  // namespace tambre::sio
