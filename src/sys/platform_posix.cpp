// The platform seam of the native build: fixed ASCII rules and the compiled-in table.
#include <cstring>

#include "res/string_table.h"
#include "sys/platform.h"

namespace tambre::sys {

void fill_lower_table(unsigned char (&table)[256]) {
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
}

std::size_t load_library_string(unsigned id, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  buffer[0] = '\0';
  const char* text = res::find_string(id);
  if (text == nullptr) return 0;
  std::size_t n = std::strlen(text);
  if (n > size - 1) n = size - 1;
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return n;
}

}  // namespace tambre::sys
