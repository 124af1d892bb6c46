#include "services/html_help_binding_win32.h"

#include <mutex>

#include "sys/handles.h"

namespace tambre::services {

namespace {

constexpr char kControlServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpOrdinal = 14;

// The in-process server registered for the control; null when none loads.
HMODULE load_registered_control() {
  sys::reg_key key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kControlServerKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return nullptr;
  char path[261] = "";
  DWORD size = 260, type = 0;
  if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS)
    return nullptr;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return nullptr;
  path[size < sizeof path ? size : sizeof path - 1] = '\0';
  return path[0] != '\0' ? LoadLibraryA(path) : nullptr;
}

html_help_entry bind() {
  HMODULE control = load_registered_control();
  if (control == nullptr) control = LoadLibraryA("hhctrl.ocx");
  if (control == nullptr) return nullptr;
  // The module stays loaded for the life of the process, also when it lacks the entry.
  return reinterpret_cast<html_help_entry>(
      reinterpret_cast<void*>(GetProcAddress(control, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
}

}  // namespace

html_help_entry html_help() {
  static std::once_flag bound;
  static html_help_entry entry = nullptr;
  std::call_once(bound, [] { entry = bind(); });
  return entry;
}

}  // namespace tambre::services
