// The platform seam of the native build: fixed ASCII rules and the compiled-in table.
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <string>

#include "base/code_page_1252.h"
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

// The native build's "ANSI" code page is 1252, the one the library's texts are kept in.
bool ansi_to_utf8(const char* in, char* out, std::size_t size) {
  try {
    return base::copy_cut(base::cp1252_to_utf8(in), out, size, true);
  } catch (const std::bad_alloc&) {
    if (size > 0) out[0] = '\0';
    return false;
  }
}

bool utf8_to_ansi(const char* in, char* out, std::size_t size) {
  try {
    return base::copy_cut(base::utf8_to_cp1252(in), out, size, false);
  } catch (const std::bad_alloc&) {
    if (size > 0) out[0] = '\0';
    return false;
  }
}

// No clipboard here: ids from the registered-format range, one per name, kept for the
// life of the process.
unsigned register_clipboard_format(const char* name) {
  static std::mutex lock;
  static std::map<std::string, unsigned> ids;
  std::lock_guard<std::mutex> hold(lock);
  auto found = ids.find(name);
  if (found != ids.end()) return found->second;
  const unsigned id = 0xC000u + static_cast<unsigned>(ids.size());
  ids.emplace(name, id);
  return id;
}

}  // namespace tambre::sys
