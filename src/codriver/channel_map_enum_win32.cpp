#include "codriver/channel_map_enum.h"

#include "codriver/global_heap.h"

namespace tambre::codriver {

channel_map_enum::channel_map_enum(CoDriver* owner, ChannelType type, long count)
    : count_(count), type_(type), owner_(owner) {}

void* channel_map_enum::operator new(std::size_t size) noexcept { return global_heap_alloc(size); }
void channel_map_enum::operator delete(void* block) noexcept { global_heap_free(block); }

HRESULT STDMETHODCALLTYPE channel_map_enum::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IEnumVARIANT) return E_NOINTERFACE;
  *out = static_cast<IEnumVARIANT*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE channel_map_enum::AddRef() { return InterlockedIncrement(&ref_count_); }

ULONG STDMETHODCALLTYPE channel_map_enum::Release() {
  const LONG count = InterlockedDecrement(&ref_count_);
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE channel_map_enum::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (!items && count) return E_POINTER;
  for (ULONG i = 0; i < count; ++i) VariantInit(&items[i]);
  ULONG done = 0;
  while (done < count && position_ <= count_) {
    CoDriverMap* map = new CoDriverMap(owner_, type_, position_);
    if (!map) break;
    ChannelMap* item = nullptr;
    if (FAILED(map->QueryInterface(IID_ChannelMap, reinterpret_cast<void**>(&item)))) {
      delete map;
      break;
    }
    V_VT(&items[done]) = VT_DISPATCH;
    V_DISPATCH(&items[done]) = item;
    ++done;
    ++position_;
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE channel_map_enum::Skip(ULONG count) {
  // Skipping exactly to the end fails as well: the position must stay on an item.
  if (position_ + static_cast<long long>(count) > count_) return S_FALSE;
  position_ += static_cast<long>(count);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE channel_map_enum::Reset() {
  position_ = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE channel_map_enum::Clone(IEnumVARIANT** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace tambre::codriver
