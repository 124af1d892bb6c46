#include "sys/com_ptr.h"
#include "tambre32/automation.h"

TAMBRE_EXPORT(HRESULT, TAMBRE_STDCALL)
RegisterFileMoniker(const char* name, IUnknown* object, DWORD* cookie, IMoniker** moniker) {
  HRESULT result = E_FAIL;
  if (!name || !cookie || !moniker) return result;
  *moniker = nullptr;
  tambre::sys::com_ptr<IRunningObjectTable> table;
  if (FAILED(GetRunningObjectTable(0, table.put()))) return E_FAIL;
  OLECHAR wide[TAMBRE_OLESTR_BUFFER];
  if (SUCCEEDED(CreateFileMoniker(ToOleStr(wide, name), moniker))) {
    result = table->Register(0, object, *moniker, cookie);
  }
  return result;
}
