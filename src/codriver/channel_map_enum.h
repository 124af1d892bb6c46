#pragma once
// The IEnumVARIANT that ChannelMapCollection::_NewEnum hands out: channel maps of one type,
// positions 1 to the item count.
#include <oaidl.h>

#include "tambre32/codriver.h"

namespace tambre::codriver {

class channel_map_enum : public IEnumVARIANT {
 public:
  channel_map_enum(CoDriver* owner, ChannelType type, long count);
  static void* operator new(std::size_t size) noexcept;
  static void operator delete(void* block) noexcept;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;
  virtual ~channel_map_enum() = default;

 private:
  long count_;
  LONG ref_count_ = 0;
  long position_ = 1;
  ChannelType type_;
  CoDriver* owner_;
};

}  // namespace tambre::codriver
