#pragma once
// Shared pieces of the driver-object tests.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tambre32/automation.h"
#include "tambre32/codriver.h"

namespace tambre::test {

// A block the host could point at with a 32-bit field.
class low_block {
 public:
  explicit low_block(std::size_t size) {
#if defined(_WIN64)
    // Walk up from 256 MiB until a free range below 4 GiB takes the block.
    for (std::uintptr_t hint = 0x10000000; hint < 0xF0000000u && !data_; hint += 0x10000) {
      data_ = static_cast<unsigned char*>(
          VirtualAlloc(reinterpret_cast<void*>(hint), size, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    }
#else
    data_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
#endif
    if (data_) std::memset(data_, 0, size);
  }
  ~low_block() {
    if (data_) VirtualFree(data_, 0, MEM_RELEASE);
  }
  low_block(const low_block&) = delete;
  low_block& operator=(const low_block&) = delete;
  unsigned char* data() const { return data_; }
  std::uint32_t address_of(const void* inside) const {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(inside));
  }

 private:
  unsigned char* data_ = nullptr;
};

// A 32-bit address that calls `target`: a jump placed below 4 GiB on x64.
class low_function {
 public:
  explicit low_function(void* target) {
    unsigned char* code = block_.data();
#if defined(_WIN64)
    const unsigned char jump[] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};  // mov rax, target; jmp rax
    std::memcpy(code, jump, sizeof jump);
    std::memcpy(code + 2, &target, 8);
#else
    code[0] = 0xE9;  // jmp target
    const auto relative = reinterpret_cast<std::intptr_t>(target) - reinterpret_cast<std::intptr_t>(code + 5);
    std::memcpy(code + 1, &relative, 4);
#endif
    FlushInstructionCache(GetCurrentProcess(), code, 16);
  }
  std::uint32_t address() const { return block_.address_of(block_.data()); }

 private:
  low_block block_{64};
};

// A table of count name entries of entry_size bytes ("prefix1", "prefix2", ...).
inline void fill_names(unsigned char* table, int count, int entry_size, const char* prefix) {
  for (int i = 0; i < count; ++i) {
    const std::string name = prefix + std::to_string(i + 1);
    std::memcpy(table + i * entry_size, name.c_str(), name.size() + 1);
  }
}

struct apartment {
  explicit apartment(DWORD model) { CoInitializeEx(nullptr, model); }
  ~apartment() { CoUninitialize(); }
};

// The directory of tambre32.dll, with its closing backslash.
inline std::string dll_directory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), path, MAX_PATH);
  const std::string text(path);
  return text.substr(0, text.rfind('\\') + 1);
}

// The narrow text of `value` (which it frees), as the library converts it.
inline std::string text_of(BSTR value) {
  char out[TAMBRE_OLESTR_BUFFER];
  return FromSysStr(out, value);
}

// A sink of IProcessDriverEvent that records what it receives; lives on the test's stack.
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

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IProcessDriverEvent ? this : nullptr;
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  std::atomic<LONG> references{1};
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Terminate(IDispatch*) override {
    ++terminates;
    if (on_terminate) on_terminate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TransactionCompleted(IDispatch*, long tid, VARIANT_BOOL success, long extra) override {
    transactions.push_back({tid, success, extra});
    return S_OK;
  }
};

// COM's marshaller of vtable interfaces wants the library registered with its "Version".
inline HRESULT register_type_library_for_marshalling() {
  const std::string narrow = dll_directory() + "codriver.tlb";
  const std::wstring file(narrow.begin(), narrow.end());
  ITypeLib* library = nullptr;
  const HRESULT result = LoadTypeLibEx(file.c_str(), REGKIND_REGISTER, &library);
  if (FAILED(result)) return result;
  library->Release();
  // RegisterTypeLib writes the path under the library's locale 0x409; COM looks under 0.
#if defined(_WIN64)
  const wchar_t key[] = L"TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}\\1.0\\0\\win64";
#else
  const wchar_t key[] = L"TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}\\1.0\\0\\win32";
#endif
  return HRESULT_FROM_WIN32(
      RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, file.c_str(), static_cast<DWORD>(file.size() * sizeof(wchar_t))));
}

}  // namespace tambre::test
