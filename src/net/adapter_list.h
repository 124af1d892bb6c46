#pragma once
// The machine's adapters as the adapter functions see them, and the rules that turn the
// adapter chain into a name list with parallel address, mask and MAC arrays. The Win32
// layer fills the chain from IP Helper; the rules are the same on every platform.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tambre::net {

struct ip_entry {
  std::string address;  // dotted text, as IP Helper gives it
  std::string mask;
};

struct adapter_entry {
  std::string display_name;
  std::vector<ip_entry> ip_list;  // in the adapter's order; the first is "the" address
  unsigned char hardware_address[8] = {};
  unsigned hardware_length = 0;
};

using mac_address = unsigned char[6];

// Empties the name list and zeroes the arrays for `maximum` entries. Call before the
// chain is queried, so a failed query leaves them empty.
void clear_adapter_list(char* names, int size, int maximum, std::uint32_t* addresses, std::uint32_t* masks,
                        mac_address* macs);

// Appends each adapter's display name and '|' while name and separator fit (an adapter
// that does not fit is skipped, a later shorter one may still be taken) and fewer than
// `maximum` are taken; fills the arrays at the same index. Returns the number taken.
int fill_adapter_list(const std::vector<adapter_entry>& chain, char* names, int size, int maximum,
                      std::uint32_t* addresses, std::uint32_t* masks, mac_address* macs);

// Index of `name` (case ignored) in a '|'-terminated name list, or -1.
int find_in_name_list(const char* names, const char* name);

// Every (address, mask) pair of the adapter named `name`, or of all adapters when the name
// begins with '*', at most `maximum`. Returns the number written.
int collect_addresses(const std::vector<adapter_entry>& chain, const char* name, int maximum, std::uint32_t* addresses,
                      std::uint32_t* masks);

}  // namespace tambre::net
