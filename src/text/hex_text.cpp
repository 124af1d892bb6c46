// Bytes to hexadecimal text and back.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tambre32/encoding.h"

namespace {

const char hex_digits[] = "0123456789ABCDEF";

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void bytes_to_hex(char* out, const unsigned char* in, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    out[2 * i] = hex_digits[in[i] >> 4];
    out[2 * i + 1] = hex_digits[in[i] & 0x0F];
  }
  out[2 * n] = '\0';
}

// Whether [a, a + a_len) and [b, b + b_len) share a byte; compared as addresses, since
// the two buffers may belong to different objects.
bool overlaps(const void* a, std::size_t a_len, const void* b, std::size_t b_len) {
  const auto pa = reinterpret_cast<std::uintptr_t>(a);
  const auto pb = reinterpret_cast<std::uintptr_t>(b);
  return pa < pb + b_len && pb < pa + a_len;
}

}  // namespace

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) StrToHex(char* out, const char* in, int length) {
  if (out == nullptr || in == nullptr) return nullptr;
  // The input counts only up to its first zero byte, whatever length says.
  std::size_t n = 0;
  while ((length < 0 || n < static_cast<std::size_t>(length)) && in[n] != '\0') ++n;
  if (!overlaps(out, 2 * n + 1, in, n)) {
    bytes_to_hex(out, reinterpret_cast<const unsigned char*>(in), n);
    return out;
  }
  // Output over the input: work from a copy of the input.
  char stack_copy[256];
  char* copy = n <= sizeof stack_copy ? stack_copy : static_cast<char*>(std::malloc(n));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, in, n);
  bytes_to_hex(out, reinterpret_cast<const unsigned char*>(copy), n);
  if (copy != stack_copy) std::free(copy);
  return out;
}

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) HexToStr(char* out, const char* hex) {
  if (out == nullptr) return nullptr;
  if (hex == nullptr) {
    out[0] = '\0';
    return nullptr;
  }
  // Checked in full first, so a bad text leaves everything behind the first byte as it was.
  std::size_t n = 0;
  for (; hex[n] != '\0'; ++n) {
    if (hex_value(hex[n]) < 0) {
      out[0] = '\0';
      return nullptr;
    }
  }
  if (n % 2 != 0) {
    out[0] = '\0';
    return nullptr;
  }
  // Byte i is written after digits 2i and 2i+1 are read, so out may be the text itself.
  for (std::size_t i = 0; i < n / 2; ++i) {
    out[i] = static_cast<char>(hex_value(hex[2 * i]) << 4 | hex_value(hex[2 * i + 1]));
  }
  out[n / 2] = '\0';
  return out;
}
