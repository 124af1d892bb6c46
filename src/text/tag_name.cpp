// The next name of a numbered series of tag names: the last run of digits is the number.
#include <cstdio>
#include <cstring>
#include "base/ascii.h"

#include "tambre32/values.h"

namespace {

// Names are worked on in a copy of this many characters; longer ones are refused.
constexpr std::size_t max_name = 263;
// Numbers beyond this are refused rather than overflowing.
constexpr long long max_number = 999999999;

// The decimal value of name[begin, end), or -1 when it is too large.
long long digits_value(const char* name, std::size_t begin, std::size_t end) {
  long long v = 0;
  for (std::size_t i = begin; i < end; ++i) {
    v = v * 10 + (name[i] - '0');
    if (v > max_number) return -1;
  }
  return v;
}

// Writes the parts into out when they fit in room characters.
int compose(char* out, int room, const char* prefix, std::size_t prefix_len, const char* number, const char* suffix) {
  const std::size_t number_len = std::strlen(number);
  const std::size_t suffix_len = std::strlen(suffix);
  if (prefix_len + number_len + suffix_len > static_cast<std::size_t>(room)) return 0;
  char* p = out;
  // Three pieces in a row; the last copy brings the terminator.
  std::memcpy(p, prefix, prefix_len);  // NOLINT(bugprone-not-null-terminated-result)
  p += prefix_len;
  std::memcpy(p, number, number_len);  // NOLINT(bugprone-not-null-terminated-result)
  p += number_len;
  std::memcpy(p, suffix, suffix_len + 1);
  return 1;
}

}  // namespace

// The fifth argument is kept for the calling sequence only; nothing reads it.
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) NextTagName(char* out, int outSize, const char* name, int step, int reserved) {
  if (out == nullptr || step == 0 || outSize < 2) return 0;
  const int room = outSize - 1;
  if (name == nullptr || name[0] == '\0') return compose(out, room, "", 0, "0", "");
  const std::size_t length = std::strlen(name);
  if (length > max_name) return 0;
  char copy[max_name + 1];
  std::memcpy(copy, name, length + 1);

  std::size_t last = length;
  for (std::size_t i = length; i-- > 0;) {
    if (tambre::base::is_digit(copy[i])) {
      last = i;
      break;
    }
  }
  char number[max_name + 32];
  if (last == length) {
    // No number yet: the series starts at 1, and only upwards.
    if (length >= static_cast<std::size_t>(room) || step < 0) return 0;
    return compose(out, room, copy, length, "1", "");
  }
  if (last == 0) {
    // A leading digit alone: the number replaces the whole name.
    const long long next = (copy[0] - '0') + static_cast<long long>(step);
    if (next < 0) return 0;
    std::snprintf(number, sizeof number, "%lld", next);
    return compose(out, room, "", 0, number, "");
  }
  std::size_t first = last;
  while (first > 0 && tambre::base::is_digit(copy[first - 1])) --first;
  const long long value = digits_value(copy, first, last + 1);
  if (value < 0) return 0;
  const long long next = value + step;
  if (next < 0) return 0;
  // The field keeps its width; it grows only when the number needs more digits.
  std::snprintf(number, sizeof number, "%0*lld", static_cast<int>(last + 1 - first), next);
  return compose(out, room, copy, first, number, copy + last + 1);
}
