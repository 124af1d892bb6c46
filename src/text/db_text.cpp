// Short texts kept in doubles, six characters per double, first character lowest.
#include <cstdint>
#include <cstring>

#include "tambre32/values.h"

namespace {

constexpr int max_text = 95;
constexpr int chars_per_value = 6;

int clamp_chars(int n) { return n < 0 ? 0 : (n > max_text ? max_text : n); }

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) SetDBText(double* values, int maxChars, const char* text) {
  if (values == nullptr) return 0;
  if (text == nullptr) text = "";
  int budget = clamp_chars(maxChars);
  const int count = (budget + chars_per_value) / chars_per_value;
  bool ended = false;
  int written = 0;
  while (written < count) {
    std::uint64_t packed = 0;
    for (int position = 0; position < chars_per_value; ++position) {
      unsigned char c = 0;
      if (budget > 0 && !ended) c = static_cast<unsigned char>(*text);
      --budget;
      if (c == 0) {
        ended = true;
      } else {
        ++text;
      }
      packed |= static_cast<std::uint64_t>(c) << (8 * position);
    }
    values[written++] = static_cast<double>(packed);
    if (ended) break;
  }
  return written;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetDBText(char* out, int outSize, const double* values, int maxChars) {
  if (out == nullptr || outSize <= 0) return 0;
  out[0] = '\0';
  if (values == nullptr) return 0;
  int remaining = clamp_chars(maxChars);
  if (outSize < remaining + 1) remaining = outSize - 1;
  int n = 0;
  for (const double* v = values; remaining > 0; ++v) {
    // The conversion is checked instead of trapped: a value outside the 64-bit range (or
    // a NaN) is what would raise the floating-point exception.
    if (!(*v > -9223372036854775808.0 && *v < 9223372036854775808.0)) {
      const char error[] = "#ERROR";
      const int cut = outSize - 1 < 6 ? outSize - 1 : 6;
      std::memcpy(out, error, static_cast<std::size_t>(cut));
      out[cut] = '\0';
      return cut;
    }
    std::uint64_t packed = static_cast<std::uint64_t>(static_cast<std::int64_t>(*v));
    for (int position = 0; position < chars_per_value && remaining > 0; ++position, packed >>= 8) {
      const char c = static_cast<char>(packed & 0xFF);
      out[n++] = c;
      if (c == '\0') {
        out[n] = '\0';
        return n;
      }
      --remaining;
    }
  }
  out[n] = '\0';
  return n;
}
