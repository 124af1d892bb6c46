// Message boxes with texts from a string table: the errors a user must see.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "frame/frame_text.h"
#include "string_ids.h"
#include "sys/handles.h"
#include "sys/module_instance.h"
#include "tambre32/frame.h"
#include "tambre32/strutil.h"

namespace {

constexpr int kTextSize = 512;
constexpr int kCaptionSize = 128;

// Loads `id` from `module` and formats it with `args`; false when the string is missing.
bool format_resource(HINSTANCE module, UINT id, va_list args, char (&text)[kTextSize]) {
  char format[kTextSize];
  if (LoadStringA(module, id, format, sizeof format) <= 0) return false;
  std::vsnprintf(text, sizeof text, format, args);
  return true;
}

// Where a box of MessageFMTBox takes its strings, caption and owner from.
struct box_owner {
  HINSTANCE strings = nullptr;
  HWND window = nullptr;
  char caption[kCaptionSize] = "";
};

bool resolve_owner(void* owner, box_owner& out) {
  HWND window = static_cast<HWND>(owner);
  if (owner != nullptr && IsWindow(window)) {
    out.strings = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    out.window = window;
    GetWindowTextA(window, out.caption, sizeof out.caption);
    return true;
  }
  if (owner != nullptr) {
    out.strings = static_cast<HINSTANCE>(owner);
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(out.strings, path, sizeof path);
    if (n == 0 || n >= sizeof path) return false;
    tambre::frame::module_caption(path, out.caption, sizeof out.caption);
    out.window = GetActiveWindow();
    return true;
  }
  out.strings = tambre::sys::module_instance();
  LoadStringA(out.strings, IDS_DRIVER_CAPTION, out.caption, sizeof out.caption);
  return true;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_CDECL) MessageFMTBox(void* owner, UINT id, UINT style, ...) {
  box_owner box;
  if (!resolve_owner(owner, box)) return 0;
  char text[kTextSize];
  va_list args;
  va_start(args, style);
  bool found = format_resource(box.strings, id, args, text);
  va_end(args);
  if (!found) return 0;
  return MessageBoxA(box.window, text, box.caption, style);
}

TAMBRE_EXPORT(int, TAMBRE_CDECL) ResourceMessageBox(HINSTANCE instance, UINT id, UINT style, ...) {
  char text[kTextSize];
  va_list args;
  va_start(args, style);
  bool found = format_resource(instance, id, args, text);
  va_end(args);
  if (!found) return 0;
  HWND active = GetActiveWindow();
  char caption[kCaptionSize] = "";
  if (active != nullptr) GetWindowTextA(active, caption, sizeof caption);
  return MessageBoxA(active, text, caption, style);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) LastErrorMessageBox(HWND owner, DWORD code, UINT style) {
  if (code == 0) code = GetLastError();
  if (code == 0) return 0;

  tambre::sys::local_memory system_text;
  char* system_chars = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&system_chars), 0, nullptr);
  system_text.reset(system_chars);
  if (length == 0 || system_chars == nullptr) return -1;
  if (style == static_cast<UINT>(-1)) return 0;

  char caption[40] = "";
  LoadStringA(tambre::sys::module_instance(), IDS_LAST_ERROR_CAPTION, caption, sizeof caption);
  const std::size_t text_size = length + 128;
  tambre::sys::local_memory text_memory(LocalAlloc(LMEM_FIXED, text_size));
  if (!text_memory) return 0;
  char* text = static_cast<char*>(text_memory.get());
  LoadStringA(tambre::sys::module_instance(), IDS_LAST_ERROR_HEAD, text, 128);
  std::strncat(text, system_chars, text_size - std::strlen(text) - 1);
  return MessageBoxA(owner, text, caption, style | MB_SETFOREGROUND);
}
