#include "net/ip_helper_binding.h"

#include <atomic>

#include "net/busy_flag.h"
#include "sys/handles.h"

namespace tambre::net {

namespace {

// One binding per process. The module handle is published last, so a thread that sees it
// also sees the entry points.
std::atomic<HMODULE> bound_module{nullptr};
ip_helper_entries entries{};
std::atomic<bool> loading{false};

template <typename Function>
Function entry(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

const ip_helper_entries* ip_helper() {
  if (bound_module.load(std::memory_order_acquire) != nullptr) return &entries;
  if (!take_busy_flag(loading, [] { Sleep(20); })) return nullptr;
  // Another thread may have finished loading while this one waited.
  if (bound_module.load(std::memory_order_acquire) == nullptr) {
    sys::unique_module module(LoadLibraryA("iphlpapi.dll"));
    if (module) {
      ip_helper_entries found{entry<decltype(found.get_adapters_info)>(module.get(), "GetAdaptersInfo"),
                              entry<decltype(found.get_interface_info)>(module.get(), "GetInterfaceInfo"),
                              entry<decltype(found.get_if_entry)>(module.get(), "GetIfEntry"),
                              entry<decltype(found.get_adapters_addresses)>(module.get(), "GetAdaptersAddresses")};
      // All four are required, though the adapter functions use only three of them.
      if (found.get_adapters_info && found.get_interface_info && found.get_if_entry && found.get_adapters_addresses) {
        entries = found;
        bound_module.store(module.release(), std::memory_order_release);
      }
    }
  }
  loading.store(false, std::memory_order_release);
  return bound_module.load(std::memory_order_acquire) != nullptr ? &entries : nullptr;
}

void release_ip_helper() {
  HMODULE module = bound_module.exchange(nullptr, std::memory_order_acq_rel);
  entries = ip_helper_entries{};
  if (module != nullptr) FreeLibrary(module);
}

}  // namespace tambre::net
