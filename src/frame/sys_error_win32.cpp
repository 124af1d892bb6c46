// System error codes as text.
#include <windows.h>

#include "frame/frame_text.h"
#include "tambre32/frame.h"

namespace {

// The system's text for `code` in the user's default language, in at most `size` bytes;
// the characters stored, 0 when the system has none (the buffer is then empty).
DWORD system_text(DWORD code, char* buffer, DWORD size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, size, nullptr);
  if (n == 0) buffer[0] = '\0';
  return n;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetSysErrorStr(char* buffer, int size, DWORD code) {
  if (code == 0xFFFFFFFFu) code = GetLastError();
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  if (code == 0) return 1;
  return static_cast<int>(system_text(code, buffer, static_cast<DWORD>(size)));
}

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) GetSysError(char* buffer, int size, DWORD code) {
  if (code == 0xFFFFFFFFu) code = GetLastError();
  if (buffer == nullptr || size <= 0) return buffer;
  buffer[0] = '\0';
  system_text(code, buffer, static_cast<DWORD>(size - 1));
  tambre::frame::one_line_with_code(buffer, static_cast<std::size_t>(size), code);
  return buffer;
}
