#include "codriver/codriver_test_support.h"

#include <oleauto.h>

#include <string>

#include "tambre32/automation.h"

namespace tambre::test {

std::atomic<int> destroyed_drivers{0};

low_block::low_block(std::size_t size) {
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

low_block::~low_block() {
  if (data_) VirtualFree(data_, 0, MEM_RELEASE);
}

low_function::low_function(void* target) {
  unsigned char* code = block_.data();
#if defined(_WIN64)
  // mov rax, target; jmp rax
  code[0] = 0x48;
  code[1] = 0xB8;
  std::memcpy(code + 2, &target, 8);
  code[10] = 0xFF;
  code[11] = 0xE0;
#else
  // jmp target
  code[0] = 0xE9;
  const auto relative = reinterpret_cast<std::intptr_t>(target) - reinterpret_cast<std::intptr_t>(code + 5);
  std::memcpy(code + 1, &relative, 4);
#endif
  FlushInstructionCache(GetCurrentProcess(), code, 16);
}

void fill_names(unsigned char* table, int count, int entry_size, const char* prefix) {
  for (int i = 0; i < count; ++i) {
    std::string name = prefix + std::to_string(i + 1);
    std::memcpy(table + i * entry_size, name.c_str(), name.size() + 1);
  }
}

std::string dll_directory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), path, MAX_PATH);
  const std::string text(path);
  return text.substr(0, text.rfind('\\') + 1);
}

std::string embedded_type_library() {
  HMODULE dll = GetModuleHandleA("tambre32.dll");
  HRSRC found = FindResourceA(dll, "CODRIVER.TLB", "TYPELIB");  // names ignore case
  if (!found) return {};
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(dll, found)));
  return std::string(bytes, SizeofResource(dll, found));
}

std::string text_of(BSTR value) {
  char out[TAMBRE_OLESTR_BUFFER];
  return FromSysStr(out, value);
}

HRESULT STDMETHODCALLTYPE recording_sink::QueryInterface(REFIID iid, void** out) {
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IProcessDriverEvent) return E_NOINTERFACE;
  *out = static_cast<IProcessDriverEvent*>(this);
  AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE recording_sink::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE recording_sink::Terminate(IDispatch*) {
  ++terminates;
  if (on_terminate) on_terminate();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE recording_sink::TransactionCompleted(IDispatch*, long tid, VARIANT_BOOL success, long extra) {
  transactions.push_back({tid, success, extra});
  return S_OK;
}

HRESULT register_type_library_for_marshalling() {
  static bool done = false;
  if (done) return S_OK;
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
  const LSTATUS status =
      RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, file.c_str(), static_cast<DWORD>(file.size() * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  done = true;
  return S_OK;
}

}  // namespace tambre::test
