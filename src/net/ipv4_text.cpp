#include "net/ipv4_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tambre32/net.h"

namespace tambre::net {

namespace {
// Longer text is judged on its first characters only.
constexpr std::size_t max_text = 31;
}  // namespace

std::uint32_t parse_ipv4(const char* text) {
  if (text == nullptr) return invalid_address;
  char copy[max_text + 1];
  std::size_t length = 0;
  while (length < max_text && text[length] != '\0') {
    copy[length] = text[length];
    ++length;
  }
  copy[length] = '\0';

  // Pieces are separated by '.', empty pieces are skipped; each piece is read like strtol
  // reads it, so leading blanks and a sign pass and trailing characters are ignored.
  std::uint32_t accumulator = 0;
  int pieces = 0;
  char* cursor = copy;
  while (*cursor != '\0') {
    char* end = std::strchr(cursor, '.');
    if (end != nullptr) *end = '\0';
    if (*cursor != '\0') {
      char* stop = nullptr;
      const long value = std::strtol(cursor, &stop, 10);
      if (stop == cursor || value < 0 || value > 255) return invalid_address;
      accumulator = (accumulator >> 8) | (static_cast<std::uint32_t>(value) << 24);
      ++pieces;
    }
    if (end == nullptr) break;
    cursor = end + 1;
  }
  return pieces == 4 ? accumulator : invalid_address;
}

void format_ipv4(std::uint32_t address, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return;
  std::snprintf(buffer, size, "%hu.%hu.%hu.%hu", static_cast<unsigned short>(address & 0xFF),
                static_cast<unsigned short>((address >> 8) & 0xFF), static_cast<unsigned short>((address >> 16) & 0xFF),
                static_cast<unsigned short>(address >> 24));
}

}  // namespace tambre::net

TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) inetaddr(const char* text) { return tambre::net::parse_ipv4(text); }

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) ipaddr(unsigned int address) {
  // One buffer for every caller and thread: the text lives until the next call.
  static char text[16];
  tambre::net::format_ipv4(address, text, sizeof text);
  return text;
}
