#pragma once
// The registry as Wine's own API shows it: what the tests compare the library's work with.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace config_test {

constexpr char kStore[] = "Software\\Brintel\\Ostrand\\Driver\\";

struct raw_value {
  bool found = false;
  DWORD type = REG_NONE;
  std::vector<unsigned char> data;

  std::string text() const { return std::string(data.begin(), data.end()); }
  DWORD dword() const {
    DWORD value = 0;
    if (data.size() == sizeof value) std::memcpy(&value, data.data(), sizeof value);
    return value;
  }
};

inline raw_value read_raw(HKEY root, const std::string& path, const char* name) {
  raw_value value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    value.found = RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS;
    value.data.resize(size);
  }
  RegCloseKey(key);
  return value;
}

inline void write_raw(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

struct key_info {
  bool exists = false;
  DWORD values = 0;
};

inline key_info inspect_key(HKEY root, const std::string& path) {
  key_info info;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return info;
  info.exists = true;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &info.values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return info;
}

inline void delete_tree(HKEY root, const std::string& path) { RegDeleteTreeA(root, path.c_str()); }

}  // namespace config_test
