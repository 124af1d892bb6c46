#pragma once
// The class object the server thread registers: every client receives the one running
// driver object.
#include <objbase.h>

#include "tambre32/codriver.h"

namespace tambre::codriver {

class driver_class_factory : public IClassFactory {
 public:
  driver_class_factory(REFIID interface_id, IProcessDriver* running);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  virtual ~driver_class_factory() = default;
  LONG ref_count_ = 0;
  IID interface_id_;
  IProcessDriver* running_;  // not counted: the server thread outlives the registration
};

}  // namespace tambre::codriver
