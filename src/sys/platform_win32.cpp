// The platform seam on Windows.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "sys/module_instance.h"
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
  int n = LoadStringA(sys::module_instance(), id, buffer, static_cast<int>(size > 0x7fffffff ? 0x7fffffff : size));
  if (n <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(n);
}

namespace {

// A malloc'ed buffer: conversions report failure instead of throwing when memory is short.
template <typename T>
struct heap_text {
  T* data = nullptr;
  explicit heap_text(std::size_t count) : data(static_cast<T*>(std::malloc(count * sizeof(T)))) {}
  ~heap_text() { std::free(data); }
  heap_text(const heap_text&) = delete;
  heap_text& operator=(const heap_text&) = delete;
};

// in (code page `from`, terminated) -> UTF-16 -> code page `to`, cut to `size` bytes.
// The input is read in full before the output is written, so the two may be one buffer.
// A conversion the platform refuses leaves an empty output.
bool convert_code_page(UINT from, UINT to, const char* in, char* out, std::size_t size) {
  const int wide_count = MultiByteToWideChar(from, 0, in, -1, nullptr, 0);
  heap_text<wchar_t> wide(wide_count > 0 ? static_cast<std::size_t>(wide_count) : 1);
  if (wide_count <= 0 || wide.data == nullptr ||
      MultiByteToWideChar(from, 0, in, -1, wide.data, wide_count) != wide_count) {
    out[0] = '\0';
    return false;
  }
  const int needed = WideCharToMultiByte(to, 0, wide.data, -1, nullptr, 0, nullptr, nullptr);
  heap_text<char> converted(needed > 0 ? static_cast<std::size_t>(needed) : 1);
  if (needed <= 0 || converted.data == nullptr ||
      WideCharToMultiByte(to, 0, wide.data, -1, converted.data, needed, nullptr, nullptr) != needed) {
    out[0] = '\0';
    return false;
  }
  if (static_cast<std::size_t>(needed) <= size) {
    std::memmove(out, converted.data, static_cast<std::size_t>(needed));
    return true;
  }
  // Cut after the last whole character.
  std::size_t n = size - 1;
  if (to == CP_UTF8) {
    while (n > 0 && (static_cast<unsigned char>(converted.data[n]) & 0xC0) == 0x80) --n;
  } else {
    const char* p = converted.data;
    while (*p != '\0') {
      const char* next = CharNextExA(static_cast<WORD>(to), p, 0);
      if (next == p || static_cast<std::size_t>(next - converted.data) > n) break;
      p = next;
    }
    n = static_cast<std::size_t>(p - converted.data);
  }
  std::memmove(out, converted.data, n);
  out[n] = '\0';
  return false;
}

}  // namespace

bool ansi_to_utf8(const char* in, char* out, std::size_t size) {
  return size > 0 && convert_code_page(CP_ACP, CP_UTF8, in, out, size);
}

bool utf8_to_ansi(const char* in, char* out, std::size_t size) {
  return size > 0 && convert_code_page(CP_UTF8, CP_ACP, in, out, size);
}

unsigned register_clipboard_format(const char* name) { return RegisterClipboardFormatA(name); }

}  // namespace tambre::sys
