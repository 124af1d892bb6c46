#include "codriver/interface_versions.h"
#include "sys/com_ptr.h"

#include <oleauto.h>

#include <cstdio>

#include "sys/handles.h"
#include "tambre32/automation.h"

namespace tambre::codriver {

namespace {

constexpr char kVersionValue[] = "Version";

void interface_key(REFGUID id, char (&key)[MAX_PATH]) {
  snprintf(key, sizeof key, "Interface\\%s\\TypeLib", StrFromGUID(id));
}

// Sets the value on an existing key only: interfaces the template does not register stay
// unregistered.
LONG set_version(REFGUID id, const char* version) {
  char name[MAX_PATH];
  interface_key(id, name);
  sys::reg_key key;
  const LONG opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, KEY_SET_VALUE, key.put());
  if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (opened != ERROR_SUCCESS) return opened;
  return RegSetValueExA(key.get(), kVersionValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                        static_cast<DWORD>(strlen(version) + 1));
}

}  // namespace

LONG add_interface_versions(const CoDriver& driver, const char* path) {
  wchar_t wide[MAX_PATH + 1];
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH + 1) == 0) return static_cast<LONG>(GetLastError());
  tambre::sys::com_ptr<ITypeLib> library;
  const HRESULT loaded = LoadTypeLibEx(wide, REGKIND_NONE, library.put());
  if (FAILED(loaded)) return loaded;
  char version[16];
  snprintf(version, sizeof version, "%u.%u", static_cast<unsigned>(HIBYTE(driver.m_version)),
           static_cast<unsigned>(LOBYTE(driver.m_version)));
  LONG result = ERROR_SUCCESS;
  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count && result == ERROR_SUCCESS; ++i) {
    TYPEKIND kind{};
    if (FAILED(library->GetTypeInfoType(i, &kind)) || (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH)) continue;
    tambre::sys::com_ptr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfo(i, info.put()))) continue;
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
      result = set_version(attributes->guid, version);
      info->ReleaseTypeAttr(attributes);
    }
  }
  return result;
}

bool interface_version_present(const CoDriver& driver) {
  char name[MAX_PATH];
  interface_key(driver.m_interfaceId, name);
  return RegGetValueA(HKEY_CLASSES_ROOT, name, kVersionValue, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

}  // namespace tambre::codriver
