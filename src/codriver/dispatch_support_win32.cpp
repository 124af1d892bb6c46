#include "codriver/dispatch_support.h"

#include <oleauto.h>

namespace tambre::codriver {

namespace {
// Calls go through the vtable: for a dual interface that is the interface part behind
// the dispatch part the type library hands out. The result carries a reference.
ITypeInfo* vtable_part(ITypeInfo* info) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return nullptr;
  const bool dual_dispatch = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
  info->ReleaseTypeAttr(attributes);
  ITypeInfo* vtable = nullptr;
  HREFTYPE reference = 0;
  if (!dual_dispatch || FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) ||
      FAILED(info->GetRefTypeInfo(reference, &vtable))) {
    info->AddRef();
    return info;
  }
  return vtable;
}
}  // namespace

HRESULT dispatch_type_info_count(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT dispatch_type_info(ITypeInfo* info, UINT index, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (!info) return E_UNEXPECTED;
  info->AddRef();
  *out = info;
  return S_OK;
}

HRESULT dispatch_ids_of_names(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!info) return E_UNEXPECTED;
  ITypeInfo* vtable = vtable_part(info);
  if (!vtable) return E_UNEXPECTED;
  const HRESULT result = DispGetIDsOfNames(vtable, names, count, ids);
  vtable->Release();
  return result;
}

HRESULT dispatch_invoke(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* arg_error) {
  if (!info) return E_UNEXPECTED;
  ITypeInfo* vtable = vtable_part(info);
  if (!vtable) return E_UNEXPECTED;
  const HRESULT hr = DispInvoke(object, vtable, id, flags, params, result, exception, arg_error);
  vtable->Release();
  return hr;
}

}  // namespace tambre::codriver
