// CoDriverMap: one channel of a driver object, as ChannelMap.
#include "codriver/dispatch_support.h"
#include "codriver/global_heap.h"
#include "tambre32/automation.h"
#include "tambre32/codriver.h"

using namespace tambre::codriver;

void* CoDriverMap::operator new(size_t size) noexcept { return global_heap_alloc(size); }
void CoDriverMap::operator delete(void* block) noexcept { global_heap_free(block); }

CoDriverMap::CoDriverMap(CoDriver* owner, ChannelType type, long address)
    : m_owner(owner), m_refCount(0), m_type(type), m_address(address), m_typeInfo(nullptr) {
  if (owner->m_runFlags & DRV_RUN_TYPE_INFO) owner->LoadTypeInfo(owner->m_typeLibName, IID_ChannelMap, m_typeInfo);
}

CoDriverMap::~CoDriverMap() {
  if (m_typeInfo) m_typeInfo->Release();
}

HRESULT STDMETHODCALLTYPE CoDriverMap::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_ChannelMap && !(iid == IID_IDispatch && m_typeInfo)) return E_NOINTERFACE;
  *out = static_cast<ChannelMap*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE CoDriverMap::AddRef() { return InterlockedIncrement(reinterpret_cast<LONG*>(&m_refCount)); }

ULONG STDMETHODCALLTYPE CoDriverMap::Release() {
  const ULONG count = InterlockedDecrement(reinterpret_cast<LONG*>(&m_refCount));
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE CoDriverMap::GetTypeInfoCount(UINT* count) { return dispatch_type_info_count(count); }

HRESULT STDMETHODCALLTYPE CoDriverMap::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  return dispatch_type_info(m_typeInfo, index, out);
}

HRESULT STDMETHODCALLTYPE CoDriverMap::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return dispatch_ids_of_names(m_typeInfo, names, count, ids);
}

HRESULT STDMETHODCALLTYPE CoDriverMap::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                              EXCEPINFO* exception, UINT* argError) {
  return dispatch_invoke(m_typeInfo, static_cast<ChannelMap*>(this), id, flags, params, result, exception, argError);
}

HRESULT STDMETHODCALLTYPE CoDriverMap::GetName(BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  // Names are read when asked: a record forwarded later changes them.
  const char* table = m_owner->m_longNames[m_type];
  int entry_size = DRV_LONG_NAME_SIZE;
  if (!table) {
    table = m_owner->m_shortNames[m_type];
    entry_size = DRV_SHORT_NAME_SIZE;
  }
  if (!table || m_address < 1) return S_OK;
  try {
    char entry[DRV_LONG_NAME_SIZE + 1] = "";
    const char* source = table + static_cast<size_t>(m_address - 1) * entry_size;
    for (int i = 0; i < entry_size && source[i]; ++i) entry[i] = source[i];
    *name = MakeSysStr(entry);
  } catch (...) {
    *name = nullptr;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMap::GetChannelType(ChannelType* type) {
  if (!type) return E_POINTER;
  *type = m_type;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMap::GetChannelAddress(long* address) {
  if (!address) return E_POINTER;
  *address = m_address;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMap::GetActivated(VARIANT_BOOL* activated) {
  if (!activated) return E_POINTER;
  *activated = VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMap::PutActivated(VARIANT_BOOL) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CoDriverMap::GetMapping(BSTR* mapping) {
  if (!mapping) return E_POINTER;
  *mapping = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMap::PutMapping(BSTR) { return E_NOTIMPL; }
