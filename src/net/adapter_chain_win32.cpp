#include "net/adapter_chain_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace tambre::net {

namespace {

// The name the user sees in the network settings; the description when the connection key
// has none.
std::string display_name_of(const IP_ADAPTER_INFO& adapter) {
  char key[MAX_ADAPTER_NAME_LENGTH + 128];
  std::snprintf(key, sizeof key,
                "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection",
                adapter.AdapterName);
  char name[261] = {};
  DWORD size = sizeof name - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, "Name", RRF_RT_REG_SZ, nullptr, name, &size) == ERROR_SUCCESS &&
      name[0] != '\0') {
    return name;
  }
  return adapter.Description;
}

}  // namespace

bool read_adapter_chain(const ip_helper_entries& helper, std::vector<adapter_entry>& chain) {
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[adapter_info_buffer_size]);
  if (!buffer) return false;
  ULONG size = adapter_info_buffer_size;
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get());
  if (helper.get_adapters_info(first, &size) != ERROR_SUCCESS) return false;
  for (const IP_ADAPTER_INFO* adapter = first; adapter != nullptr; adapter = adapter->Next) {
    adapter_entry entry;
    entry.display_name = display_name_of(*adapter);
    for (const IP_ADDR_STRING* ip = &adapter->IpAddressList; ip != nullptr; ip = ip->Next) {
      entry.ip_list.push_back({ip->IpAddress.String, ip->IpMask.String});
    }
    entry.hardware_length = adapter->AddressLength;
    std::memcpy(entry.hardware_address, adapter->Address,
                std::min<std::size_t>(sizeof entry.hardware_address, sizeof adapter->Address));
    chain.push_back(std::move(entry));
  }
  return true;
}

}  // namespace tambre::net
