// AnsiToUTF8 and UTF8ToAnsi: the platform converts, these check the arguments.
#include "sys/platform.h"
#include "tambre32/encoding.h"

TAMBRE_EXPORT(int, TAMBRE_STDCALL) AnsiToUTF8(char* out, const char* in, int size) {
  // The UTF-8 text is longer than its source, so the two must not share a buffer.
  if (out == nullptr || out == in || size <= 0) return 0;
  return tambre::sys::ansi_to_utf8(in == nullptr ? "" : in, out, static_cast<std::size_t>(size)) ? 1 : 0;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) UTF8ToAnsi(char* out, const char* in, int size) {
  if (out == nullptr || size <= 0) return 0;
  return tambre::sys::utf8_to_ansi(in == nullptr ? "" : in, out, static_cast<std::size_t>(size)) ? 1 : 0;
}
