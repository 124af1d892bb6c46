// The exported adapter functions: each gathers the adapter chain through IP Helper and
// applies the list rules of adapter_list.h.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "net/adapter_chain_win32.h"
#include "net/adapter_list.h"
#include "net/ip_helper_binding.h"
#include "net/ipv4_text.h"
#include "tambre32/net.h"

namespace {

using tambre::net::adapter_entry;
using tambre::net::mac_address;

constexpr int max_adapters = 64;
constexpr int lookup_names_size = 2048;

// The collector shared by the name and per-adapter functions: the name list, the first
// address, mask and MAC per listed adapter. -1 when IP Helper cannot be loaded, 0 when
// the chain cannot be read.
int collect_adapters(char* names, int size, int maximum, std::uint32_t* addresses, std::uint32_t* masks,
                     mac_address* macs) {
  tambre::net::clear_adapter_list(names, size, maximum, addresses, masks, macs);
  const tambre::net::ip_helper_entries* helper = tambre::net::ip_helper();
  if (helper == nullptr) return -1;
  std::vector<adapter_entry> chain;
  if (!tambre::net::read_adapter_chain(*helper, chain)) return 0;
  return tambre::net::fill_adapter_list(chain, names, size, maximum, addresses, masks, macs);
}

struct adapter_table {
  char names[lookup_names_size];
  std::uint32_t addresses[max_adapters];
  std::uint32_t masks[max_adapters];
  mac_address macs[max_adapters];
};

// Index of the named adapter in a freshly collected table: -2 when nothing could be
// listed, -1 when no adapter has that name.
int look_up_adapter(const char* name, adapter_table& table) {
  const int count =
      collect_adapters(table.names, sizeof table.names, max_adapters, table.addresses, table.masks, table.macs);
  if (count < 1) return -2;
  return tambre::net::find_in_name_list(table.names, name);
}

bool is_lookup_name(const char* name) { return name != nullptr && name[0] != '\0' && name[0] != '<'; }

enum class adapter_field { address, mask };

unsigned int adapter_value(const char* name, adapter_field field) {
  if (!is_lookup_name(name)) return 0;
  auto table = std::make_unique<adapter_table>();
  const int index = look_up_adapter(name, *table);
  if (index == -2) return 0;
  if (index < 0) return tambre::net::invalid_address;
  return field == adapter_field::address ? table->addresses[index] : table->masks[index];
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetAdapterNames(char* buffer, int size) {
  std::uint32_t addresses[max_adapters];
  std::uint32_t masks[max_adapters];
  mac_address macs[max_adapters];
  return collect_adapters(buffer, size, max_adapters, addresses, masks, macs);
}

TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) GetAdapterAddr(const char* name) {
  return adapter_value(name, adapter_field::address);
}

TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) GetAdapterNetMask(const char* name) {
  return adapter_value(name, adapter_field::mask);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetAdapterMAC(const char* name, unsigned char* mac) {
  if (mac != nullptr) std::memset(mac, 0, 6);
  if (mac == nullptr || !is_lookup_name(name)) return 0;
  auto table = std::make_unique<adapter_table>();
  const int index = look_up_adapter(name, *table);
  if (index < 0) return 0;
  std::memcpy(mac, table->macs[index], 6);
  return 1;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetAdapterAddresses(const char* name, int maximum, unsigned int* addresses, unsigned int* masks) {
  const tambre::net::ip_helper_entries* helper = tambre::net::ip_helper();
  if (helper == nullptr) return -1;
  std::vector<adapter_entry> chain;
  if (!tambre::net::read_adapter_chain(*helper, chain)) return 0;
  return tambre::net::collect_addresses(chain, name, maximum, addresses, masks);
}

// Writes the descriptions of the interface table (GetInterfaceInfo, then GetIfEntry per
// index) rather than nothing: interfaces the adapter chain cannot name by their network
// settings still show, in the same '|'-terminated form as GetAdapterNames.
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetInterfaceNames(char* buffer, int size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  const tambre::net::ip_helper_entries* helper = tambre::net::ip_helper();
  if (helper == nullptr) return -1;
  std::unique_ptr<unsigned char[]> table(new (std::nothrow) unsigned char[tambre::net::adapter_info_buffer_size]);
  if (!table) return 0;
  ULONG table_size = tambre::net::adapter_info_buffer_size;
  auto* interfaces = reinterpret_cast<IP_INTERFACE_INFO*>(table.get());
  if (helper->get_interface_info(interfaces, &table_size) != NO_ERROR) return 0;
  std::vector<adapter_entry> found;
  for (LONG i = 0; i < interfaces->NumAdapters; ++i) {
    MIB_IFROW row{};
    row.dwIndex = interfaces->Adapter[i].Index;
    if (helper->get_if_entry(&row) != NO_ERROR) continue;
    adapter_entry entry;
    const std::size_t length = std::min<std::size_t>(row.dwDescrLen, sizeof row.bDescr);
    entry.display_name.assign(reinterpret_cast<const char*>(row.bDescr), length);
    entry.display_name = entry.display_name.c_str();  // the length may count a terminator
    found.push_back(std::move(entry));
  }
  return tambre::net::fill_adapter_list(found, buffer, size, max_adapters, nullptr, nullptr, nullptr);
}
