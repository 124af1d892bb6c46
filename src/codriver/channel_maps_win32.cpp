// CoDriverMaps: the channel maps of one type, as ChannelMapCollection.
#include <new>

#include "codriver/channel_map_enum.h"
#include "codriver/dispatch_support.h"
#include "codriver/global_heap.h"
#include "tambre32/codriver.h"

using namespace tambre::codriver;

void* CoDriverMaps::operator new(size_t size) noexcept { return global_heap_alloc(size); }
void CoDriverMaps::operator delete(void* block) noexcept { global_heap_free(block); }

CoDriverMaps::CoDriverMaps(CoDriver* owner, ChannelType type)
    : m_owner(owner), m_refCount(0), m_count(owner->m_channelCounts[type]), m_type(type), m_typeInfo(nullptr) {
  if (owner->m_runFlags & DRV_RUN_TYPE_INFO)
    owner->LoadTypeInfo(owner->m_typeLibName, IID_ChannelMapCollection, m_typeInfo);
}

CoDriverMaps::~CoDriverMaps() {
  if (m_typeInfo) m_typeInfo->Release();
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_ChannelMapCollection && !(iid == IID_IDispatch && m_typeInfo)) {
    return E_NOINTERFACE;
  }
  *out = static_cast<ChannelMapCollection*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE CoDriverMaps::AddRef() { return InterlockedIncrement(reinterpret_cast<LONG*>(&m_refCount)); }

ULONG STDMETHODCALLTYPE CoDriverMaps::Release() {
  const ULONG count = InterlockedDecrement(reinterpret_cast<LONG*>(&m_refCount));
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::GetTypeInfoCount(UINT* count) { return dispatch_type_info_count(count); }

HRESULT STDMETHODCALLTYPE CoDriverMaps::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  return dispatch_type_info(m_typeInfo, index, out);
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return dispatch_ids_of_names(m_typeInfo, names, count, ids);
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT* argError) {
  // Script engines ask for the enumerator as a method (JScript's Enumerator does); it is
  // the same read-only property.
  if (id == DISPID_NEWENUM && (flags & DISPATCH_METHOD)) flags |= DISPATCH_PROPERTYGET;
  return dispatch_invoke(m_typeInfo, static_cast<ChannelMapCollection*>(this), id, flags, params, result, exception,
                         argError);
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::GetCount(long* count) {
  if (!count) return E_POINTER;
  *count = m_count;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::GetType(ChannelType* type) {
  if (!type) return E_POINTER;
  *type = m_type;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::GetItem(long index, ChannelMap** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  if (index < 1 || index > m_count) return DISP_E_BADINDEX;
  CoDriverMap* map = new CoDriverMap(m_owner, m_type, index);
  if (!map) return E_OUTOFMEMORY;
  if (FAILED(map->QueryInterface(IID_ChannelMap, reinterpret_cast<void**>(item)))) {
    delete map;
    return E_NOINTERFACE;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriverMaps::_NewEnumItem(IUnknown** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = nullptr;
  auto* items = new channel_map_enum(m_owner, m_type, m_count);
  if (!items) return E_OUTOFMEMORY;
  const HRESULT result = items->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(enumerator));
  if (FAILED(result)) delete items;
  return result;
}
