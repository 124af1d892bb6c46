#include "tambre32/automation.h"

TAMBRE_EXPORT(HRESULT, TAMBRE_STDCALL)
RegisterFileMoniker(const char* name, IUnknown* object, DWORD* cookie, IMoniker** moniker) {
  HRESULT result = E_FAIL;
  if (!name || !cookie || !moniker) return result;
  *moniker = nullptr;
  IRunningObjectTable* table = nullptr;
  if (FAILED(GetRunningObjectTable(0, &table))) return E_FAIL;
  OLECHAR wide[TAMBRE_OLESTR_BUFFER];
  if (SUCCEEDED(CreateFileMoniker(ToOleStr(wide, name), moniker))) {
    result = table->Register(0, object, *moniker, cookie);
  }
  table->Release();
  return result;
}
