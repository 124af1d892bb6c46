// Type information of the driver object and its channel maps: the registered type library
// first, else the library file next to the module.
#include "codriver/module_path.h"
#include "sys/com_ptr.h"
#include "tambre32/automation.h"
#include "tambre32/codriver.h"

HRESULT CoDriver::LoadTypeInfo(const char* typeLibName, REFGUID id, ITypeInfo*& typeInfo) {
  typeInfo = nullptr;
  tambre::sys::com_ptr<ITypeLib> library;
  HRESULT result = LoadRegTypeLib(m_libraryId, HIBYTE(m_version), LOBYTE(m_version), 0, library.put());
  char path[MAX_PATH + 1];
  if (FAILED(result) && tambre::codriver::path_beside_module(m_instance, typeLibName, path)) {
    OLECHAR wide[TAMBRE_OLESTR_BUFFER];
    result = LoadTypeLib(ToOleStr(wide, path), library.put());
  }
  if (library) {
    result = library->GetTypeInfoOfGuid(id, &typeInfo);
    if (FAILED(result)) typeInfo = nullptr;
  }
  return result;
}

void CoDriver::LoadTypeInfo() { LoadTypeInfo(m_typeLibName, m_interfaceId, m_typeInfo); }

HRESULT CoDriver::UnloadTypeInfo(ITypeInfo*& typeInfo) {
  if (typeInfo) {
    try {
      typeInfo->Release();
    } catch (...) {
    }
    typeInfo = nullptr;
  }
  return 0;
}

void CoDriver::UnloadTypeInfo() { UnloadTypeInfo(m_typeInfo); }
