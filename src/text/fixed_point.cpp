#include "text/fixed_point.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tambre::text {

namespace {

constexpr double powers_of_ten[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t integer_powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// The value scaled by 10^decimals and rounded to an integer, when one multiplication
// decides the rounding beyond doubt: the product below 2^40 is within 2^-13 of the exact
// one, so a fraction clear of one half by 2^-10 rounds the same way. Near ties take the
// C library's exact path.
bool rounded_scaled(double magnitude, int decimals, std::uint64_t& out) {
  if (decimals > 9) return false;
  double scaled = magnitude * powers_of_ten[decimals];
  if (!(scaled < 1099511627776.0)) return false;
  double whole = std::floor(scaled);
  double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < 1.0 / 1024) return false;
  out = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1u : 0u);
  return true;
}

}  // namespace

bool write_fixed(char* out, std::size_t room, int decimals, double value) {
  std::uint64_t n;
  if (decimals >= 0 && std::isfinite(value) && rounded_scaled(std::fabs(value), decimals, n)) {
    char digits[32];
    int count = 0;
    std::uint64_t integer = n / integer_powers[decimals];
    std::uint64_t fraction = n % integer_powers[decimals];
    for (int i = 0; i < decimals; ++i, fraction /= 10) digits[count++] = static_cast<char>('0' + fraction % 10);
    if (decimals > 0) digits[count++] = '.';
    do {
      digits[count++] = static_cast<char>('0' + integer % 10);
      integer /= 10;
    } while (integer != 0);
    if (std::signbit(value)) digits[count++] = '-';
    if (static_cast<std::size_t>(count) + 1 > room) return false;
    for (int i = 0; i < count; ++i) out[i] = digits[count - 1 - i];
    out[count] = '\0';
    return true;
  }
  int written = std::snprintf(out, room, "%.*f", decimals, value);
  return written >= 0 && static_cast<std::size_t>(written) + 1 <= room;
}

}  // namespace tambre::text
