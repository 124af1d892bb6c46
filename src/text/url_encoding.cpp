// Percent-encoding of URL texts.
#include <cstring>

#include "tambre32/encoding.h"

namespace {

const char hex_digits[] = "0123456789ABCDEF";

int hex_value(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool needs_encoding(unsigned char c) {
  if (c < 32 || c >= 128) return true;
  return c != 0 && std::strchr(" !#$%&'()*+,/:;=?@[]", c) != nullptr;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) EncodeURL(char* out, const char* in, int size) {
  if (out == nullptr || size <= 0) return 0;
  if (in == nullptr) in = "";
  std::size_t used = 0;
  const std::size_t room = static_cast<std::size_t>(size);
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(in); *p != 0; ++p) {
    if (needs_encoding(*p)) {
      if (room - used < 4) {
        out[used] = '\0';
        return 0;
      }
      out[used++] = '%';
      out[used++] = hex_digits[*p >> 4];
      out[used++] = hex_digits[*p & 0x0F];
    } else {
      if (room - used < 2) {
        out[used] = '\0';
        return 0;
      }
      out[used++] = static_cast<char>(*p);
    }
  }
  out[used] = '\0';
  return 1;
}

// The size bounds the output (with its terminator); since the output is never longer than
// the input, a size of the input length plus one always decodes in full. The output may
// be the input buffer: the write position never passes the read position.
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DecodeURL(char* out, const char* in, int size) {
  if (out == nullptr || size <= 0) return 0;
  if (in == nullptr) in = "";
  const std::size_t room = static_cast<std::size_t>(size);
  std::size_t used = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(in);
  while (*p != 0) {
    if (room - used < 2) {
      out[used] = '\0';
      return 0;
    }
    if (*p != '%') {
      out[used++] = static_cast<char>(*p++);
      continue;
    }
    const int high = hex_value(p[1]);
    const int low = high < 0 ? -1 : hex_value(p[2]);
    if (low < 0) {
      out[used] = '\0';
      return 0;
    }
    out[used++] = static_cast<char>(high << 4 | low);
    p += 3;
  }
  out[used] = '\0';
  return 1;
}
