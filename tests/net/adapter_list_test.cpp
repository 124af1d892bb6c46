// An adapter chain turned into the name list and its parallel arrays; names looked up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/adapter_list.h"

namespace {

using tambre::net::adapter_entry;

adapter_entry adapter(const std::string& name, std::vector<tambre::net::ip_entry> ips,
                      std::vector<unsigned char> mac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55}) {
  adapter_entry entry;
  entry.display_name = name;
  entry.ip_list = std::move(ips);
  entry.hardware_length = static_cast<unsigned>(mac.size());
  std::memcpy(entry.hardware_address, mac.data(), std::min<std::size_t>(mac.size(), 8));
  return entry;
}

const std::vector<adapter_entry> chain = {
    adapter("LAN-Verbindung", {{"192.168.1.10", "255.255.255.0"}, {"192.168.1.11", "255.255.0.0"}}),
    adapter("Funk", {{"10.0.0.5", "255.0.0.0"}}, {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x01, 0x02}),
    adapter("X", {{"0.0.0.0", "0.0.0.0"}}, {0x00, 0x01, 0x02, 0x03, 0x04, 0x05}),
};

struct table {
  char names[256];
  std::uint32_t addresses[8];
  std::uint32_t masks[8];
  tambre::net::mac_address macs[8];
};

int fill(table& t, int size, int maximum) {
  std::memset(&t, 0x5A, sizeof t);
  tambre::net::clear_adapter_list(t.names, size, maximum, t.addresses, t.masks, t.macs);
  return tambre::net::fill_adapter_list(chain, t.names, size, maximum, t.addresses, t.masks, t.macs);
}

// Names with their first address, mask and MAC. "LAN-Verbindung|" needs 15 bytes and the
// terminator one more; the arrays follow the names that were taken.
TEST(AdapterList, ListsWhatFitsUpToTheMaximum) {
  const struct {
    int size, maximum, count;
    const char* names;
    std::uint32_t first_address;
  } cases[] = {
      {256, 8, 3, "LAN-Verbindung|Funk|X|", 0x0A01A8C0u},
      {15, 8, 2, "Funk|X|", 0x0500000Au},
      {16, 8, 1, "LAN-Verbindung|", 0x0A01A8C0u},
      {6, 8, 1, "Funk|", 0x0500000Au},
      {2, 8, 0, "", 0},
      {256, 1, 1, "LAN-Verbindung|", 0x0A01A8C0u},
      {256, 0, 0, "", 0x5A5A5A5Au},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes, at most " + std::to_string(c.maximum));
    table t;
    EXPECT_EQ(fill(t, c.size, c.maximum), c.count);
    EXPECT_STREQ(t.names, c.names);
    EXPECT_EQ(t.addresses[0], c.first_address);
    if (c.count < c.maximum) {
      EXPECT_EQ(t.addresses[c.count], 0u) << "entries past the count stay zeroed";
    }
  }
  table t;
  fill(t, sizeof t.names, 8);
  EXPECT_EQ(t.masks[0], 0x00FFFFFFu);
  const unsigned char lan_mac[6] = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55}, zero[6] = {};
  EXPECT_EQ(std::memcmp(t.macs[0], lan_mac, 6), 0);
  EXPECT_EQ(std::memcmp(t.macs[1], zero, 6), 0) << "an 8-byte hardware address is not a MAC";
  char names[4] = "abc";
  EXPECT_EQ(tambre::net::fill_adapter_list(chain, names, 0, 8, nullptr, nullptr, nullptr), 0);
  EXPECT_STREQ(names, "abc") << "a zero-sized buffer is never written";
}

TEST(AdapterList, FindsNamesAndCollectsAddresses) {
  const struct {
    const char *list, *wanted;
    int expected;
  } cases[] = {{"LAN|Funk|", "lan", 0},    {"LAN|Funk|", "FUNK", 1}, {"LAN|Funk|", "Fun", -1},
               {"LAN|Funk|", "Funky", -1}, {"", "LAN", -1},          {"a|A|", "a", 0}};
  for (const auto& c : cases) EXPECT_EQ(tambre::net::find_in_name_list(c.list, c.wanted), c.expected) << c.wanted;

  std::uint32_t addresses[8] = {}, masks[8] = {};
  EXPECT_EQ(tambre::net::collect_addresses(chain, "lan-verbindung", 8, addresses, masks), 2);
  EXPECT_EQ(addresses[1], 0x0B01A8C0u);
  EXPECT_EQ(masks[1], 0x0000FFFFu);
  EXPECT_EQ(tambre::net::collect_addresses(chain, "*", 8, addresses, masks), 4);
  EXPECT_EQ(addresses[2], 0x0500000Au);
  EXPECT_EQ(addresses[3], 0u);
  std::uint32_t few[3] = {1, 1, 0xDEAD}, few_masks[3] = {1, 1, 0xDEAD};
  EXPECT_EQ(tambre::net::collect_addresses(chain, "*any", 2, few, few_masks), 2);
  EXPECT_EQ(few[2], 0xDEADu) << "never more than the maximum";
  EXPECT_EQ(tambre::net::collect_addresses(chain, "Nirgends", 8, addresses, masks), 0);
}

}  // namespace
