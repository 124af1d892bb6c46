#pragma once
// Shared pieces of the driver-object tests.
#include <objbase.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tambre32/codriver.h"

namespace tambre::test {

// A block the host could point at with a 32-bit field.
class low_block {
 public:
  explicit low_block(std::size_t size);
  ~low_block();
  low_block(const low_block&) = delete;
  low_block& operator=(const low_block&) = delete;
  unsigned char* data() const { return data_; }
  std::uint32_t address() const { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data_)); }
  std::uint32_t address_of(const void* inside) const {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(inside));
  }

 private:
  unsigned char* data_ = nullptr;
};

// A 32-bit address that calls `target`: a jump placed below 4 GiB on x64.
class low_function {
 public:
  explicit low_function(void* target);
  std::uint32_t address() const { return block_.address(); }

 private:
  low_block block_{64};
};

// A table of count name entries of entry_size bytes ("prefix1", "prefix2", ...).
void fill_names(unsigned char* table, int count, int entry_size, const char* prefix);

struct apartment {
  explicit apartment(DWORD model) { CoInitializeEx(nullptr, model); }
  ~apartment() { CoUninitialize(); }
};

// The directory of tambre32.dll, with its closing backslash.
std::string dll_directory();

// The type library the DLL carries as resource "CODRIVER.TLB" of type "TYPELIB".
std::string embedded_type_library();

// The narrow text of `value` (which it frees), as the library converts it.
std::string text_of(BSTR value);

// A sink of IProcessDriverEvent that records what it receives.
class recording_sink : public IProcessDriverEvent {
 public:
  struct transaction {
    long tid;
    VARIANT_BOOL success;
    long extra;
  };
  std::atomic<int> terminates{0};
  std::vector<transaction> transactions;
  std::function<void()> on_terminate;
  std::atomic<LONG> references{1};

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Terminate(IDispatch* server) override;
  HRESULT STDMETHODCALLTYPE TransactionCompleted(IDispatch* server, long tid, VARIANT_BOOL success,
                                                 long extra) override;
};

// Registers the type library beside the DLL once per process for COM's marshaller of
// vtable interfaces, which wants the "Version" value only RegisterTypeLib writes.
HRESULT register_type_library_for_marshalling();

// Number of objects a test's driver class destroyed.
extern std::atomic<int> destroyed_drivers;
class counted_driver : public CoDriver {
 public:
  ~counted_driver() override { ++destroyed_drivers; }
};

}  // namespace tambre::test
