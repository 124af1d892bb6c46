// The packed DBF float: a signed 8-bit binary exponent over a signed 24-bit mantissa
// that counts 2^-23 steps.
#include <cmath>
#include <cstdint>

#include "tambre32/values.h"

TAMBRE_EXPORT(float, TAMBRE_STDCALL) DBF2Float(const unsigned int* dbf) {
  if (dbf == nullptr) return 0.0f;
  const std::uint32_t v = *dbf;
  // The top byte is a two's-complement exponent.
  int exponent = static_cast<int>(v >> 24);
  if (exponent >= 128) exponent -= 256;
  if (exponent == -128) return 0.0f;
  const float factor = exponent == 0 ? 1.0f : static_cast<float>(std::ldexp(1.0, exponent));
  std::int32_t mantissa = static_cast<std::int32_t>(v & 0x00FFFFFF);
  if (mantissa & 0x00800000) mantissa -= 0x01000000;
  return static_cast<float>(mantissa) / 8388608.0f * factor;
}

// NaN packs as 0 and the infinities as the largest magnitudes: neither has a DBF form,
// and a saturated value keeps at least the sign and the order.
TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) Float2DBF(float value) {
  if (std::isnan(value)) return 0;
  if (std::isinf(value)) return value > 0 ? 0x7F7FFFFFu : 0x7F800000u;
  const bool negative = value < 0;
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(static_cast<double>(value)), &exponent);
  std::uint32_t mantissa;
  if (negative) {
    mantissa = ~static_cast<std::uint32_t>(static_cast<std::int32_t>(fraction * 8388607.0));
  } else {
    mantissa = static_cast<std::uint32_t>(fraction * 8388608.0);
  }
  return (static_cast<std::uint32_t>(exponent) & 0xFF) << 24 | (mantissa & 0x00FFFFFF);
}
