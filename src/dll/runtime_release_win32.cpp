// Both run-time libraries expect to live as long as the process:
// - The thread library creates a record for every thread that is not its own the first
//   time such a thread needs it (a guarded static, a thread_local, a wait): a duplicate of
//   the thread's handle, an event and some memory. It gives them back in its thread-detach
//   callback, which runs when a thread ends while the module is loaded. The thread that
//   unloads the module goes on living, so its record would stay behind on every unload.
// - The C++ run time allocates its emergency exception reserve (some 70 KiB) at start-up
//   and frees it only on request.
// Threads other than the unloading one that used the library and still run keep their
// records; the thread library offers no way to reach them.
#include "dll/runtime_release_win32.h"

#include <pthread.h>

#include <cstdint>

namespace __gnu_cxx {
void __freeres() noexcept;  // the C++ run time's own release of its reserves
}  // namespace __gnu_cxx

namespace tambre::dll {

namespace {

// The thread-local-storage slot the thread library took for its thread records, when it
// was seen being taken; it never gives it back itself, and a process has few of them.
DWORD thread_library_slot = TLS_OUT_OF_INDEXES;
// The slots a process has: the ones in the thread block and the expansion.
constexpr DWORD kTlsSlots = TLS_MINIMUM_AVAILABLE + 1024;

// The module's thread-local-storage callbacks: a null-terminated array its TLS directory
// points to (already relocated by the loader).
const PIMAGE_TLS_CALLBACK* tls_callbacks(HINSTANCE module) {
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
  if (entry.VirtualAddress == 0 || entry.Size < sizeof(IMAGE_TLS_DIRECTORY)) return nullptr;
  const auto* directory = reinterpret_cast<const IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
  return reinterpret_cast<const PIMAGE_TLS_CALLBACK*>(directory->AddressOfCallBacks);
}

// Whether `value` points to the thread library's record of this thread. The record begins
// with its state word (0 for a thread the library did not start, a live mark for one it
// did), followed by four words and the thread's handle as the library hands it out;
// another module's copy of the library has records and handles of its own.
bool is_own_thread_record(const void* value, HANDLE own_thread_handle) {
  constexpr std::uint32_t kLiveRecordMark = 0xBAB1F00D;
  constexpr std::size_t kHandleWord = 5;
  MEMORY_BASIC_INFORMATION region;
  if (value == nullptr || VirtualQuery(value, &region, sizeof region) != sizeof region) return false;
  const auto* end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  const auto* words = static_cast<const HANDLE*>(value);
  if (region.State != MEM_COMMIT || !(region.Protect & (PAGE_READWRITE | PAGE_EXECUTE_READWRITE)) ||
      reinterpret_cast<const char*>(words + kHandleWord + 1) > end) {
    return false;
  }
  const std::uint32_t state = *static_cast<const std::uint32_t*>(value);
  return (state == 0 || state == kLiveRecordMark) && words[kHandleWord] == own_thread_handle;
}

}  // namespace

void note_runtime_state() {
  // The slot is found by what it holds for this thread, since the library may have set
  // itself up before this module's entry ran.
  const HANDLE own_thread_handle = static_cast<HANDLE>(pthread_gethandle(pthread_self()));
  if (own_thread_handle == nullptr) return;
  for (DWORD slot = 0; slot < kTlsSlots; ++slot) {
    if (is_own_thread_record(TlsGetValue(slot), own_thread_handle)) {
      thread_library_slot = slot;
      return;
    }
  }
}

void release_runtime_state(HINSTANCE module) {
  // The unloading thread detaches from the module as an ending thread would.
  if (const PIMAGE_TLS_CALLBACK* callback = tls_callbacks(module)) {
    for (; *callback != nullptr; ++callback) (*callback)(module, DLL_THREAD_DETACH, nullptr);
  }
  if (thread_library_slot != TLS_OUT_OF_INDEXES) {
    TlsFree(thread_library_slot);
    thread_library_slot = TLS_OUT_OF_INDEXES;
  }
  __gnu_cxx::__freeres();
}

}  // namespace tambre::dll
