// Installing the kernel device: ask, copy its file from beside the library into the
// system directory, register it, start it (NT) or prepare it for the next start (9x),
// and report the outcome in boxes.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "io/hardware_seams.h"
#include "io/platform_state.h"
#include "string_ids.h"
#include "sys/handles.h"
#include "sys/module_instance.h"
#include "tambre32/frame.h"
#include "tambre32/io.h"

namespace {

constexpr char kNt5DeviceFile[] = "Ferrol2k.sys";
constexpr char kNtDeviceFile[] = "Ferrolin.sys";
constexpr char kVxdFile[] = "Ferrolin.vxd";
constexpr char kVxdKey[] = "System\\CurrentControlSet\\Services\\VxD\\FERROLIN";
constexpr char kServicesKey[] = "System\\CurrentControlSet\\Services\\";
constexpr char kServiceGroup[] = "Extended Base";

const char* device_file_for(tambre::io::platform_version platform) {
  if (!platform.nt) return kVxdFile;
  return platform.nt5_or_later ? kNt5DeviceFile : kNtDeviceFile;
}

struct file_paths {
  char source[MAX_PATH * 2];
  char destination[MAX_PATH * 2];
};

// Source: the library's own path with its file name replaced by `file`. Destination:
// the system directory, its "drivers" folder on NT.
bool device_file_paths(const char* file, bool nt, file_paths& paths) {
  DWORD n = GetModuleFileNameA(tambre::sys::module_instance(), paths.source, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  char* name = std::strrchr(paths.source, '\\');
  name = name != nullptr ? name + 1 : paths.source;
  std::snprintf(name, sizeof paths.source - (name - paths.source), "%s", file);
  UINT length = GetSystemDirectoryA(paths.destination, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::snprintf(paths.destination + length, sizeof paths.destination - length, nt ? "\\drivers\\%s" : "\\%s", file);
  return true;
}

// A 32-bit process on 64-bit Windows sees the 32-bit system folder under the system
// folder's name; a device belongs in the real one, where the kernel loads it from. Only
// file operations may run inside: a library loaded meanwhile would come from there too.
class native_system_folder {
 public:
  native_system_folder() {
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
      redirection_off_ = Wow64DisableWow64FsRedirection(&state_);
  }
  ~native_system_folder() {
    if (redirection_off_) Wow64RevertWow64FsRedirection(state_);
  }
  native_system_folder(const native_system_folder&) = delete;
  native_system_folder& operator=(const native_system_folder&) = delete;

 private:
  PVOID state_ = nullptr;
  BOOL redirection_off_ = FALSE;
};

// A failed copy is no failure when the destination is already there and readable.
bool copy_device_file(const file_paths& paths) {
  const native_system_folder native;
  if (CopyFileA(paths.source, paths.destination, FALSE)) return true;
  const DWORD copy_error = GetLastError();
  tambre::sys::unique_file existing(CreateFileA(paths.destination, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (existing) return true;
  SetLastError(copy_error);
  return false;
}

// Registry functions return their error instead of setting it: the failure box reads it
// from the thread.
bool registry_ok(LONG result) {
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool create_key(const char* path, tambre::sys::reg_key& key) {
  return registry_ok(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                                     key.put(), nullptr));
}

bool set_dword(HKEY key, const char* name, DWORD value) {
  return registry_ok(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
}

bool set_string(HKEY key, const char* name, const char* value) {
  return registry_ok(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                    static_cast<DWORD>(std::strlen(value) + 1)));
}

bool register_vxd() {
  tambre::sys::reg_key key;
  return create_key(kVxdKey, key) && set_string(key.get(), "StaticVxD", kVxdFile);
}

void service_key_path(const char* service, char (&path)[MAX_PATH]) {
  std::snprintf(path, sizeof path, "%s%s", kServicesKey, service);
}

bool write_service_key(const char* service) {
  char path[MAX_PATH];
  service_key_path(service, path);
  tambre::sys::reg_key key;
  return create_key(path, key) && set_dword(key.get(), "Type", SERVICE_KERNEL_DRIVER) &&
         set_dword(key.get(), "Start", SERVICE_AUTO_START) &&
         set_dword(key.get(), "ErrorControl", SERVICE_ERROR_NORMAL) && set_string(key.get(), "Group", kServiceGroup);
}

// The service name: the device file name up to its ".".
void service_name_of(const char* file, char (&service)[MAX_PATH]) {
  std::snprintf(service, sizeof service, "%s", file);
  if (char* dot = std::strchr(service, '.')) *dot = '\0';
}

struct install_outcome {
  bool ok = false;
  DWORD error = 0;  // remembered platform error; 0: the thread's own
  const char* file = nullptr;
};

install_outcome install(tambre::io::platform_version platform) {
  install_outcome outcome;
  outcome.file = device_file_for(platform);
  for (;;) {
    file_paths paths;
    if (!device_file_paths(outcome.file, platform.nt, paths) || !copy_device_file(paths)) return outcome;
    if (!platform.nt) {
      outcome.ok = register_vxd();
      return outcome;
    }
    char service[MAX_PATH];
    service_name_of(outcome.file, service);
    if (!write_service_key(service)) return outcome;
    if (!tambre::io::control_service(service, TAMBRE_SERVICE_CREATE)) {
      outcome.error = GetLastError();
      return outcome;
    }
    if (tambre::io::control_service(service, TAMBRE_SERVICE_START)) {
      outcome.ok = true;
      return outcome;
    }
    if (!platform.nt5_or_later) {
      outcome.error = GetLastError();
      return outcome;
    }
    // The newer device would not start: once, fall back to the older one, and count the
    // platform as older for the rest of the process.
    char key[MAX_PATH];
    service_key_path(service, key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    {
      const native_system_folder native;
      DeleteFileA(paths.destination);
    }
    tambre::io::treat_as_pre_nt5();
    platform = tambre::io::platform();
    outcome.file = kNtDeviceFile;
  }
}

}  // namespace

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOQueryDeviceInstallEx(WORD capabilities, WORD min_version) {
  if (IODeviceInstalledEx(capabilities, min_version)) return TRUE;
  const tambre::io::platform_version platform = tambre::io::platform();
  if (MessageFMTBox(nullptr, IDS_IO_QUERY_INSTALL, MB_YESNO | MB_ICONQUESTION, device_file_for(platform)) != IDYES) {
    return TRUE;
  }
  const install_outcome outcome = install(platform);
  if (!outcome.ok) {
    LastErrorMessageBox(nullptr, outcome.error, MB_ICONINFORMATION);
    MessageFMTBox(nullptr, IDS_IO_INSTALL_FAILED, MB_ICONEXCLAMATION, outcome.file);
    return FALSE;
  }
  if (!platform.nt) {
    // The VxD becomes active with the next start of the system.
    if (MessageFMTBox(nullptr, IDS_IO_INSTALLED_RESTART, MB_YESNO | MB_ICONQUESTION, outcome.file) == IDYES &&
        !tambre::io::restart_system()) {
      LastErrorMessageBox(nullptr, 0, MB_ICONINFORMATION);
    }
  }
  return TRUE;
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOQueryDeviceInstall(void) { return IOQueryDeviceInstallEx(3, 0); }
