// The platform seam on Windows.
#include <windows.h>

#include "frame/module_instance.h"
#include "sys/platform.h"

namespace tambre::sys {

void fill_lower_table(unsigned char (&table)[256]) {
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  // The terminator stays out of the buffer CharLowerBuffA sees.
  CharLowerBuffA(reinterpret_cast<char*>(table + 1), 255);
}

std::size_t load_library_string(unsigned id, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  buffer[0] = '\0';
  int n = LoadStringA(frame::module_instance(), id, buffer, static_cast<int>(size > 0x7fffffff ? 0x7fffffff : size));
  if (n <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(n);
}

}  // namespace tambre::sys
