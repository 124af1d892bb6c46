// Driver and user settings: one registry key per section, under the local machine for
// the driver store and under the current user for the user store.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "config/hex_values.h"
#include "sys/handles.h"
#include "tambre32/settings.h"

namespace {

using tambre::sys::reg_key;

constexpr char kCompany[] = "Brintel";
// ProfileGetHexValues reads its text through a buffer of this size.
constexpr int kHexTextSize = 1025;

std::string store_path(const char* section) {
  char path[64];
  std::snprintf(path, sizeof path, "Software\\%s\\Ostrand\\Driver", kCompany);
  return section == nullptr ? std::string(path) : std::string(path) + "\\" + section;
}

// Opens the key, creating it (non-volatile, no class) when missing: a read leaves an empty
// section key behind, as every operation of the store does.
reg_key create_key(HKEY root, const std::string& path, REGSAM access) {
  char no_class[] = "";
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, no_class, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return reg_key();
  }
  return reg_key(key);
}

reg_key open_section(HKEY root, const char* section, REGSAM access) {
  if (section == nullptr) return reg_key();
  return create_key(root, store_path(section), access);
}

int write_value(HKEY root, const char* section, const char* entry, DWORD type, const void* data, DWORD size) {
  if (entry == nullptr) return 0;
  reg_key key = open_section(root, section, KEY_READ | KEY_WRITE);
  if (!key) return 0;
  return RegSetValueExA(key.get(), entry, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS ? 1 : 0;
}

int write_string(HKEY root, const char* section, const char* entry, const char* text) {
  if (text == nullptr) return 0;
  return write_value(root, section, entry, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

int write_int(HKEY root, const char* section, const char* entry, LONG value) {
  const DWORD data = static_cast<DWORD>(value);
  return write_value(root, section, entry, REG_DWORD, &data, sizeof data);
}

// The stored text's length when it fits `buffer` as a REG_SZ with its terminator, else -1.
int query_text(HKEY key, const char* entry, char* buffer, int size) {
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(size);
  if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return -1;
  }
  if (bytes == 0) {
    buffer[0] = '\0';
    return 0;
  }
  if (buffer[bytes - 1] == '\0') return static_cast<int>(bytes - 1);
  // Stored without its terminator: it counts if the terminator still fits.
  if (bytes < static_cast<DWORD>(size)) {
    buffer[bytes] = '\0';
    return static_cast<int>(bytes);
  }
  return -1;
}

int get_string(HKEY root, const char* section, const char* entry, const char* fallback, char* buffer, int size) {
  if (buffer == nullptr || size < 1) return 0;
  // The default may be the caller's buffer itself, which the query can overwrite.
  const std::string fallback_text = fallback == nullptr ? std::string() : std::string(fallback);
  reg_key key = open_section(root, section, KEY_READ);
  if (key && entry != nullptr) {
    const int found = query_text(key.get(), entry, buffer, size);
    if (found >= 0) return found;
  }
  const std::size_t length = fallback_text.size() < static_cast<std::size_t>(size - 1)
                                 ? fallback_text.size()
                                 : static_cast<std::size_t>(size - 1);
  std::memcpy(buffer, fallback_text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

LONG get_int(HKEY root, const char* section, const char* entry, LONG fallback) {
  reg_key key = open_section(root, section, KEY_READ);
  if (!key || entry == nullptr) return fallback;
  DWORD type = 0;
  DWORD value = 0;
  DWORD bytes = sizeof value;
  if (RegQueryValueExA(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof value) {
    return fallback;
  }
  return static_cast<LONG>(value);
}

int delete_section(HKEY root, const char* section) {
  // An empty name would address the store's own key.
  if (section == nullptr || *section == '\0') return 0;
  reg_key parent = create_key(root, store_path(nullptr), KEY_READ | KEY_WRITE);
  if (!parent) return 0;
  // The registry refuses a key that still has sub-keys.
  return RegDeleteKeyA(parent.get(), section) == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteDrvIniString(const char* section, const char* entry, const char* text) {
  return write_string(HKEY_LOCAL_MACHINE, section, entry, text);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteUsrIniString(const char* section, const char* entry, const char* text) {
  return write_string(HKEY_CURRENT_USER, section, entry, text);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteDrvIniInt(const char* section, const char* entry, LONG value) {
  return write_int(HKEY_LOCAL_MACHINE, section, entry, value);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteUsrIniInt(const char* section, const char* entry, LONG value) {
  return write_int(HKEY_CURRENT_USER, section, entry, value);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetDrvIniString(const char* section, const char* entry, const char* fallback, char* buffer, int size) {
  return get_string(HKEY_LOCAL_MACHINE, section, entry, fallback, buffer, size);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetUsrIniString(const char* section, const char* entry, const char* fallback, char* buffer, int size) {
  return get_string(HKEY_CURRENT_USER, section, entry, fallback, buffer, size);
}

TAMBRE_EXPORT(LONG, TAMBRE_STDCALL) GetDrvIniInt(const char* section, const char* entry, LONG fallback) {
  return get_int(HKEY_LOCAL_MACHINE, section, entry, fallback);
}

TAMBRE_EXPORT(LONG, TAMBRE_STDCALL) GetUsrIniInt(const char* section, const char* entry, LONG fallback) {
  return get_int(HKEY_CURRENT_USER, section, entry, fallback);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) DeleteDrvIniSection(const char* section) {
  return delete_section(HKEY_LOCAL_MACHINE, section);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) DeleteUsrIniSection(const char* section) {
  return delete_section(HKEY_CURRENT_USER, section);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ProfileWriteHexValues(const char* section, const char* entry, int count, const DWORD* values) {
  if (count > 0 && values == nullptr) return 0;
  const int taken = count < tambre::config::kMaxHexValues ? count : tambre::config::kMaxHexValues;
  std::uint32_t packed[tambre::config::kMaxHexValues];
  for (int i = 0; i < taken; ++i) packed[i] = values[i];
  const std::string text = tambre::config::format_hex_values(packed, taken);
  return WriteUsrIniString(section, entry, text.c_str());
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ProfileGetHexValues(const char* section, const char* entry, int count, DWORD* values) {
  if (values == nullptr || count <= 0) return 0;
  for (int i = 0; i < count; ++i) values[i] = 0;
  char text[kHexTextSize];
  if (GetUsrIniString(section, entry, "", text, sizeof text) == 0) return 0;
  const int wanted = count < tambre::config::kMaxHexValues ? count : tambre::config::kMaxHexValues;
  std::uint32_t read[tambre::config::kMaxHexValues];
  const int stored = tambre::config::read_hex_values(text, read, wanted);
  for (int i = 0; i < stored; ++i) values[i] = read[i];
  return stored;
}
