#include "codriver/class_factory.h"

namespace tambre::codriver {

driver_class_factory::driver_class_factory(REFIID interface_id, IProcessDriver* running)
    : interface_id_(interface_id), running_(running) {}

HRESULT STDMETHODCALLTYPE driver_class_factory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  *out = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE driver_class_factory::AddRef() { return InterlockedIncrement(&ref_count_); }

ULONG STDMETHODCALLTYPE driver_class_factory::Release() {
  const LONG count = InterlockedDecrement(&ref_count_);
  if (count == 0) delete this;
  return count;
}

HRESULT STDMETHODCALLTYPE driver_class_factory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!running_) return CLASS_E_CLASSNOTAVAILABLE;
  return running_->QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE driver_class_factory::LockServer(BOOL lock) {
  CoLockObjectExternal(running_, lock, TRUE);
  return S_OK;
}

}  // namespace tambre::codriver
