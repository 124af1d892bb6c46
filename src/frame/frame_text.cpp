#include "frame/frame_text.h"

#include <cstdio>
#include <cstring>

#include "tambre32/strutil.h"

namespace tambre::frame {

std::size_t module_prefix(const char* path, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return 0;
  out[0] = '\0';
  const char* slash = path ? std::strrchr(path, '\\') : nullptr;
  if (slash == nullptr) return 0;
  const char* name = slash + 1;
  const char* dot = std::strchr(name, '.');
  const std::size_t name_length = dot ? static_cast<std::size_t>(dot - name) : std::strlen(name);
  std::size_t n = 0;
  for (std::size_t i = 0; i < name_length && n + 1 < size; ++i) out[n++] = name[i];
  for (const char* tail = dot ? ": " : ""; *tail != '\0' && n + 1 < size; ++tail) out[n++] = *tail;
  out[n] = '\0';
  return n;
}

std::size_t module_caption(const char* path, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return 0;
  strxcpy(out, path ? shortfilename(path) : "", static_cast<unsigned>(size));
  if (char* dot = std::strchr(out, '.')) *dot = '\0';
  return std::strlen(out);
}

void one_line_with_code(char* buffer, std::size_t size, std::uint32_t code) {
  if (buffer == nullptr || size == 0) return;
  for (char* p = buffer; *p != '\0'; ++p) {
    if (*p == '\r' || *p == '\n') *p = ' ';
  }
  if (code == 0) return;
  const std::size_t length = std::strlen(buffer);
  if (size <= 21 || length >= size - 21) return;  // no room for the code
  const char* format = code < 0x80000000u ? "[OS #%lu]" : "[OS #%lX]";
  std::snprintf(buffer + length, size - length, format, static_cast<unsigned long>(code));
}

}  // namespace tambre::frame
