// Hexadecimal arrays of the settings store.
#include "config/hex_values.h"
#include "base/ascii.h"

#include <cstdio>

namespace tambre::config {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// strtoul(text, &end, 16) of the Windows C library: too large a number gives
// 0xFFFFFFFF, a minus sign negates, and no number leaves `end` at `text`.
std::uint32_t scan_hex(const char* text, const char*& end) {
  const char* p = text;
  while (base::is_space(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  // As the Windows C library reads it: a "0x" without a digit behind it is no number.
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
  if (hex_digit(*p) < 0) {
    end = text;
    return 0;
  }
  std::uint64_t value = 0;
  bool overflow = false;
  for (; hex_digit(*p) >= 0; ++p) {
    value = value * 16 + static_cast<std::uint64_t>(hex_digit(*p));
    if (value > 0xFFFFFFFFu) {
      overflow = true;
      value = 0xFFFFFFFFu;
    }
  }
  end = p;
  if (overflow) return 0xFFFFFFFFu;
  const auto result = static_cast<std::uint32_t>(value);
  return negative ? 0u - result : result;
}

}  // namespace

std::string format_hex_values(const std::uint32_t* values, int count) {
  if (values == nullptr || count <= 0) return std::string();
  if (count > kMaxHexValues) count = kMaxHexValues;
  std::string text;
  text.reserve(static_cast<std::size_t>(count) * 9);
  char number[12];
  for (int i = 0; i < count; ++i) {
    std::snprintf(number, sizeof number, "%lX,", static_cast<unsigned long>(values[i]));
    text += number;
  }
  text.pop_back();  // no trailing ','
  return text;
}

int read_hex_values(const char* text, std::uint32_t* values, int count) {
  if (values == nullptr || count <= 0) return 0;
  for (int i = 0; i < count; ++i) values[i] = 0;
  if (text == nullptr || *text == '\0') return 0;
  const int limit = count < kMaxHexValues ? count : kMaxHexValues;
  int stored = 0;
  const char* p = text;
  while (stored < limit) {
    const char* end = p;
    values[stored++] = scan_hex(p, end);
    if (*end == '\0') break;
    p = end + 1;
  }
  return stored;
}

}  // namespace tambre::config
