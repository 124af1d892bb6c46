#pragma once
// IP Helper, loaded by name on first use and kept until the library leaves the process.
#include <winsock2.h>
// After the socket declarations, which it needs for GetAdaptersAddresses.
#include <iphlpapi.h>

namespace tambre::net {

struct ip_helper_entries {
  decltype(&::GetAdaptersInfo) get_adapters_info;
  decltype(&::GetInterfaceInfo) get_interface_info;
  decltype(&::GetIfEntry) get_if_entry;
  decltype(&::GetAdaptersAddresses) get_adapters_addresses;
};

// The entry points, loading the library when needed; null when it cannot be loaded, lacks
// one of the four entry points, or another thread kept loading it for too long.
const ip_helper_entries* ip_helper();

// Releases the library and its entry points, if they were loaded; at process detach.
void release_ip_helper();

}  // namespace tambre::net
