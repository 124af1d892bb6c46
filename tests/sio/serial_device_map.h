#pragma once
// The system's serial device map ("HARDWARE\DEVICEMAP\SERIALCOMM") replaced for a test
// and restored afterwards, value by value.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace sio_test {

constexpr char kSerialMap[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

class serial_device_map {
 public:
  serial_device_map() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSerialMap, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    had_key_ = true;
    for (DWORD i = 0;; ++i) {
      char name[256];
      unsigned char data[1024];
      DWORD name_size = sizeof name, data_size = sizeof data, type = 0;
      if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
      saved_.push_back({name, type, std::string(reinterpret_cast<char*>(data), data_size)});
    }
    RegCloseKey(key);
  }
  ~serial_device_map() {
    remove();
    if (!had_key_) return;
    for (const auto& v : saved_) set(v.name.c_str(), v.type, v.data);
  }
  serial_device_map(const serial_device_map&) = delete;
  serial_device_map& operator=(const serial_device_map&) = delete;

  void remove() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSerialMap); }
  void set(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSerialMap, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
  }
  void set_text(const char* name, const std::string& text) { set(name, REG_SZ, text + '\0'); }
  // Exactly these ports as "\Device\SerialN" = "COMn" values.
  void only_ports(std::initializer_list<int> ports) {
    remove();
    int n = 0;
    for (int port : ports) set_text(("\\Device\\Serial" + std::to_string(n++)).c_str(), "COM" + std::to_string(port));
  }

 private:
  struct value {
    std::string name;
    DWORD type;
    std::string data;
  };
  bool had_key_ = false;
  std::vector<value> saved_;
};

}  // namespace sio_test
