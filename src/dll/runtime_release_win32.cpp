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

namespace __gnu_cxx {
void __freeres() noexcept;  // the C++ run time's own release of its reserves
}  // namespace __gnu_cxx

namespace tambre::dll {

namespace {

// The thread-local-storage slot the thread library took for its thread records, when it
// was seen being taken; it never gives it back itself, and a process has few of them.
DWORD thread_library_slot = TLS_OUT_OF_INDEXES;

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

}  // namespace

void note_runtime_state() {
  // Slots are handed out lowest first: the free slot seen now is the one the thread
  // library takes when it sets up, which the first thread record makes it do. When the
  // slot then holds this thread's record, it is the library's; otherwise it was set up
  // earlier and its slot is not known.
  const DWORD probe = TlsAlloc();
  if (probe == TLS_OUT_OF_INDEXES) return;
  TlsFree(probe);
  pthread_self();
  if (TlsGetValue(probe) != nullptr) thread_library_slot = probe;
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
