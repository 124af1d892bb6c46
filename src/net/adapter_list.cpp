#include "net/adapter_list.h"

#include <cstring>

#include "net/ipv4_text.h"
#include "tambre32/strutil.h"

namespace tambre::net {

namespace {

constexpr char separator = '|';

std::uint32_t first_address(const adapter_entry& adapter) {
  return adapter.ip_list.empty() ? invalid_address : parse_ipv4(adapter.ip_list.front().address.c_str());
}

std::uint32_t first_mask(const adapter_entry& adapter) {
  return adapter.ip_list.empty() ? invalid_address : parse_ipv4(adapter.ip_list.front().mask.c_str());
}

}  // namespace

void clear_adapter_list(char* names, int size, int maximum, std::uint32_t* addresses, std::uint32_t* masks,
                        mac_address* macs) {
  if (names != nullptr && size > 0) names[0] = '\0';
  for (int i = 0; i < maximum; ++i) {
    if (addresses != nullptr) addresses[i] = 0;
    if (masks != nullptr) masks[i] = 0;
    if (macs != nullptr) std::memset(macs[i], 0, sizeof(mac_address));
  }
}

int fill_adapter_list(const std::vector<adapter_entry>& chain, char* names, int size, int maximum,
                      std::uint32_t* addresses, std::uint32_t* masks, mac_address* macs) {
  if (names == nullptr || size <= 0) return 0;
  std::size_t left = static_cast<std::size_t>(size);
  std::size_t used = std::strlen(names);
  int taken = 0;
  for (const adapter_entry& adapter : chain) {
    if (taken >= maximum) break;
    const std::size_t length = adapter.display_name.size();
    // The name, its separator and the list's terminator must all fit.
    if (length + 1 >= left) continue;
    std::memcpy(names + used, adapter.display_name.data(), length);
    used += length;
    names[used++] = separator;
    names[used] = '\0';
    left -= length + 1;
    if (addresses != nullptr) addresses[taken] = first_address(adapter);
    if (masks != nullptr) masks[taken] = first_mask(adapter);
    if (macs != nullptr) {
      if (adapter.hardware_length == 6) {
        std::memcpy(macs[taken], adapter.hardware_address, 6);
      } else {
        std::memset(macs[taken], 0, sizeof(mac_address));
      }
    }
    ++taken;
  }
  return taken;
}

int find_in_name_list(const char* names, const char* name) {
  if (names == nullptr || name == nullptr) return -1;
  std::string piece;
  int index = 0;
  for (const char* p = names; *p != '\0'; ++p) {
    if (*p != separator) {
      piece += *p;
      continue;
    }
    if (striequal(piece.c_str(), name)) return index;
    piece.clear();
    ++index;
  }
  return -1;
}

int collect_addresses(const std::vector<adapter_entry>& chain, const char* name, int maximum, std::uint32_t* addresses,
                      std::uint32_t* masks) {
  if (name == nullptr || addresses == nullptr || masks == nullptr || maximum <= 0) return 0;
  const bool every_adapter = name[0] == '*';
  int written = 0;
  for (const adapter_entry& adapter : chain) {
    if (!every_adapter && !striequal(adapter.display_name.c_str(), name)) continue;
    for (const ip_entry& ip : adapter.ip_list) {
      if (written >= maximum) break;
      addresses[written] = parse_ipv4(ip.address.c_str());
      masks[written] = parse_ipv4(ip.mask.c_str());
      ++written;
    }
    if (!every_adapter) break;
  }
  return written;
}

}  // namespace tambre::net
