// Comparison of doubles in which NaN and the infinities are ordinary values.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "tambre32/values.h"

namespace {

enum class special { none, quiet_nan, negative_infinity, positive_infinity };

// Signalling NaNs (quiet bit clear) are deliberately not special: they equal nothing.
special classify(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const std::uint64_t exponent = bits >> 52 & 0x7FF;
  const std::uint64_t mantissa = bits & 0x000FFFFFFFFFFFFFull;
  if (exponent != 0x7FF) return special::none;
  if (mantissa == 0) return (bits >> 63) ? special::negative_infinity : special::positive_infinity;
  return (mantissa & 0x0008000000000000ull) ? special::quiet_nan : special::none;
}

bool equal(double a, double b) {
  const special ca = classify(a);
  const special cb = classify(b);
  if (ca != special::none || cb != special::none) return ca == cb;
  return a == b;
}

}  // namespace

TAMBRE_EXPORT(bool, TAMBRE_STDCALL) DoubleEqual(const double* a, const double* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return equal(*a, *b);
}

TAMBRE_EXPORT(bool, TAMBRE_STDCALL) DoubleNotEqual(const double* a, const double* b) { return !DoubleEqual(a, b); }

TAMBRE_EXPORT(int, TAMBRE_STDCALL) CompareDouble(const double* a, const double* b) {
  // A missing value sorts like a NaN.
  const bool a_nan = a == nullptr || std::isnan(*a);
  const bool b_nan = b == nullptr || std::isnan(*b);
  if (a_nan) return b_nan ? 0 : -1;
  if (b_nan) return 1;
  if (*a > *b) return 1;
  return *a == *b ? 0 : -1;
}
