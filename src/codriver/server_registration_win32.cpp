// Registration of the driver's automation server: the type library file next to the
// module, the registry template of the module's "REGFILE" resource, and the two values
// that depend on where the module and the host live.
#include "codriver/server_registration.h"

#include <io.h>

#include <cstdio>
#include <cstring>

#include "codriver/interface_versions.h"
#include "codriver/module_path.h"
#include "codriver/resource_file.h"
#include "string_ids.h"
#include "sys/handles.h"
#include "sys/module_instance.h"
#include "tambre32/automation.h"
#include "tambre32/frame.h"
#include "tambre32/regfile.h"

namespace {

// The host's server executable; it lies in the directory of the running process.
constexpr char kHostServer[] = "Quorlin32.exe";
constexpr DWORD kRegisteredPathSize = 261;

void type_library_key(const CoDriver& driver, char (&key)[MAX_PATH]) {
  snprintf(key, sizeof key, "Typelib\\%s\\%u.%u\\0\\win32", StrFromGUID(driver.m_libraryId),
           static_cast<unsigned>(HIBYTE(driver.m_version)), static_cast<unsigned>(LOBYTE(driver.m_version)));
}

// True when the registry names `path` as the type library's file (letter case aside).
bool type_library_registered_at(const CoDriver& driver, const char* path) {
  char key_name[MAX_PATH];
  type_library_key(driver, key_name);
  tambre::sys::reg_key key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key_name, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  char registered[kRegisteredPathSize] = "";
  DWORD size = sizeof registered - 1;
  DWORD type = REG_NONE;
  if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(registered), &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return false;
  }
  return _strnicmp(registered, path, size) == 0;
}

LONG set_default_text(HKEY root, const char* key_name, const char* text, bool create) {
  tambre::sys::reg_key key;
  const LONG opened =
      create ? RegCreateKeyExA(root, key_name, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr)
             : RegOpenKeyExA(root, key_name, 0, KEY_READ | KEY_WRITE, key.put());
  if (opened != ERROR_SUCCESS) return opened;
  return RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(strlen(text) + 1));
}

// "\"<directory of this process's executable>\Quorlin32.exe\" /Automation"
LONG set_local_server_command(const CoDriver& driver) {
  char executable[MAX_PATH + 1] = "";
  GetModuleFileNameA(nullptr, executable, MAX_PATH);
  char* last_backslash = strrchr(executable, '\\');
  if (last_backslash) last_backslash[1] = '\0';
  char command[2 * MAX_PATH];
  snprintf(command, sizeof command, "\"%s%s\" /Automation", last_backslash ? executable : "", kHostServer);
  char key_name[MAX_PATH];
  snprintf(key_name, sizeof key_name, "CLSID\\%s\\LocalServer32", StrFromGUID(driver.m_classId));
  return set_default_text(HKEY_CLASSES_ROOT, key_name, command, true);
}

HRESULT register_if_needed(CoDriver& driver, bool forced) {
  if (!driver.m_instance || !driver.m_className[0] || !driver.m_typeLibName[0] || !driver.m_regFileName[0]) {
    return E_UNEXPECTED;
  }
  bool needed = forced;
  char path[MAX_PATH + 1];
  // A module path too long for the file name leaves nowhere to write the library.
  if (!tambre::codriver::path_beside_module(driver.m_instance, driver.m_typeLibName, path)) return STG_E_WRITEFAULT;
  if (needed || _access(path, 0) != 0) {
    if (!tambre::codriver::save_resource_to_file(driver.m_instance, "TYPELIB", driver.m_typeLibName, path)) {
      return STG_E_WRITEFAULT;
    }
    needed = true;
  }
  if (!type_library_registered_at(driver, path) || !tambre::codriver::interface_version_present(driver)) needed = true;
  if (!needed) return S_OK;

  const LONG imported = ImportRegFile(driver.m_instance, driver.m_regFileName, forced ? 1 : 0, 0);
  if (imported != 0) return imported;
  char key_name[MAX_PATH];
  type_library_key(driver, key_name);
  const LONG path_set = set_default_text(HKEY_CLASSES_ROOT, key_name, path, false);
  if (path_set != ERROR_SUCCESS) return path_set;
  const LONG command_set = set_local_server_command(driver);
  if (command_set != ERROR_SUCCESS) return command_set;
  // Removal needs nothing extra: the template's removal deletes the interface keys whole.
  return tambre::codriver::add_interface_versions(driver, path);
}

}  // namespace

HRESULT CoDriver::RegisterServer(bool forced) {
  const HRESULT result = register_if_needed(*this, forced);
  if (result != S_OK && forced) {
    ResourceMessageBox(tambre::sys::module_instance(), IDS_SERVER_REGISTRATION_FAILED, MB_ICONEXCLAMATION, m_className);
  }
  return result;
}

HRESULT CoDriver::UnregisterServer() { return ImportRegFile(m_instance, m_regFileName, 1, 1); }

STDAPI DllRegisterServer() {
  CoDriver* driver = new CoDriver;  // the library's own module, names and ids
  if (!driver) return E_OUTOFMEMORY;
  const HRESULT result = driver->RegisterServer(true);
  delete driver;
  return result;
}

STDAPI DllUnregisterServer() {
  CoDriver* driver = new CoDriver;  // the library's own module, names and ids
  if (!driver) return E_OUTOFMEMORY;
  const HRESULT result = driver->UnregisterServer();
  delete driver;
  return result;
}

namespace tambre::codriver {

HRESULT register_server_when_asked(CoDriver& driver) { return driver.RegisterServer(false); }

}  // namespace tambre::codriver
