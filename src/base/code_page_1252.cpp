#include "base/code_page_1252.h"

#include <cstring>

namespace tambre::base {
namespace {

// 0x80-0x9F; the five unassigned bytes map to the C1 controls, as on Windows.
constexpr char32_t high_block[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t to_unicode(unsigned char c) { return c >= 0x80 && c < 0xA0 ? high_block[c - 0x80] : c; }

int from_unicode(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
  for (int i = 0; i < 32; ++i) {
    if (high_block[i] == u) return 0x80 + i;
  }
  return -1;
}

void append_utf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | u >> 6);
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | u >> 12);
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// One UTF-8 character at p; advances p. Malformed input gives -1 after one byte.
long next_code_point(const unsigned char*& p) {
  const unsigned char lead = *p++;
  if (lead < 0x80) return lead;
  int extra;
  char32_t u;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, u = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, u = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, u = lead & 0x07, minimum = 0x10000;
  } else {
    return -1;
  }
  for (int i = 0; i < extra; ++i) {
    if ((p[i] & 0xC0) != 0x80) return -1;  // also stops at the terminator
  }
  for (int i = 0; i < extra; ++i) u = u << 6 | (p[i] & 0x3F);
  p += extra;
  if (u < minimum || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return -1;
  return static_cast<long>(u);
}

}  // namespace

std::string cp1252_to_utf8(const char* in) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(in); *p != 0; ++p)
    append_utf8(out, to_unicode(*p));
  return out;
}

std::string utf8_to_cp1252(const char* in) {
  std::string out;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(in);
  while (*p != 0) {
    const long u = next_code_point(p);
    const int c = u < 0 ? -1 : from_unicode(static_cast<char32_t>(u));
    out += c < 0 ? '?' : static_cast<char>(c);
  }
  return out;
}

bool copy_cut(const std::string& text, char* out, std::size_t size, bool utf8) {
  if (size == 0) return false;
  if (text.size() < size) {
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
  }
  std::size_t n = size - 1;
  // Never end inside a multi-byte character: back off to its lead byte.
  if (utf8) {
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::memmove(out, text.data(), n);
  out[n] = '\0';
  return false;
}

}  // namespace tambre::base
