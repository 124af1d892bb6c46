// The adapter functions under Wine: the adapters IP Helper reports are the system's network
// interfaces, the display names come from the network settings in the registry, and the
// special results hold.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <iphlpapi.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tambre32/net.h"

namespace {

constexpr unsigned int invalid = 0xFFFFFFFFu;
const char* const connection_key_format =
    "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection";

std::vector<std::string> split_list(const std::string& list) {
  std::vector<std::string> names;
  std::string piece;
  for (char c : list) {
    if (c == '|') {
      names.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  EXPECT_TRUE(piece.empty()) << "every name is followed by '|'";
  return names;
}

std::vector<std::string> adapter_names() {
  char buffer[4096];
  const int count = GetAdapterNames(buffer, sizeof buffer);
  auto names = split_list(buffer);
  EXPECT_EQ(count, static_cast<int>(names.size()));
  return names;
}

// What the system lists: its network interfaces (Wine reports each one but the loopback).
std::set<std::string> system_interfaces() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA("Z:\\sys\\class\\net\\*", &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != ".." && name != "lo") names.insert(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

// The internal names (GUID strings) of the adapters, in IP Helper's order.
std::vector<std::string> internal_names() {
  std::vector<std::string> names;
  std::vector<unsigned char> buffer(16384);
  ULONG size = static_cast<ULONG>(buffer.size());
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  HMODULE iphlpapi = LoadLibraryA("iphlpapi.dll");
  auto get_adapters_info = reinterpret_cast<decltype(&GetAdaptersInfo)>(
      reinterpret_cast<void*>(GetProcAddress(iphlpapi, "GetAdaptersInfo")));
  if (get_adapters_info != nullptr && get_adapters_info(first, &size) == ERROR_SUCCESS) {
    for (auto* a = first; a != nullptr; a = a->Next) names.emplace_back(a->AdapterName);
  }
  FreeLibrary(iphlpapi);
  return names;
}

// Sets the display name of an adapter in the network settings for the test's lifetime.
class display_name {
 public:
  display_name(const std::string& internal, const char* name) {
    char key[512];
    snprintf(key, sizeof key, connection_key_format, internal.c_str());
    key_ = key;
    EXPECT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "Name", REG_SZ, name, static_cast<DWORD>(strlen(name) + 1)),
              ERROR_SUCCESS);
  }
  ~display_name() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str()); }

 private:
  std::string key_;
};

TEST(Adapters, ListsTheSystemsInterfacesUnderTheirDescriptions) {
  const auto names = adapter_names();
  ASSERT_FALSE(names.empty()) << "this machine has network interfaces besides the loopback";
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), system_interfaces());
}

TEST(Adapters, DisplayNameComesFromTheNetworkSettings) {
  const auto internal = internal_names();
  ASSERT_FALSE(internal.empty());
  const auto descriptions = adapter_names();
  {
    display_name renamed(internal[0], "LAN-Verbindung 7");
    const auto names = adapter_names();
    ASSERT_EQ(names.size(), descriptions.size());
    EXPECT_EQ(names[0], "LAN-Verbindung 7");
    // The address is found under the new name, ignoring case, and no longer under the old.
    EXPECT_NE(GetAdapterAddr("lan-verbindung 7"), invalid);
    EXPECT_EQ(GetAdapterAddr(descriptions[0].c_str()), invalid);
  }
  {
    display_name empty(internal[0], "");
    EXPECT_EQ(adapter_names(), descriptions) << "an empty name falls back to the description";
  }
}

TEST(Adapters, NameThatDoesNotFitIsSkippedForLaterShorterOnes) {
  const auto internal = internal_names();
  ASSERT_GE(internal.size(), 2u) << "needs two adapters";
  const auto descriptions = adapter_names();
  const std::string long_name(200, 'N');
  display_name renamed(internal[0], long_name.c_str());
  std::size_t rest = 1;
  for (std::size_t i = 1; i < descriptions.size(); ++i) rest += descriptions[i].size() + 1;
  std::vector<char> buffer(rest, '#');
  const int count = GetAdapterNames(buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_EQ(count, static_cast<int>(descriptions.size()) - 1);
  std::vector<std::string> expected(descriptions.begin() + 1, descriptions.end());
  EXPECT_EQ(split_list(buffer.data()), expected);
}

TEST(Adapters, SpecialResultsOfTheLookUps) {
  ASSERT_FALSE(adapter_names().empty());
  EXPECT_EQ(GetAdapterAddr(nullptr), 0u);
  EXPECT_EQ(GetAdapterAddr(""), 0u);
  EXPECT_EQ(GetAdapterAddr("<keiner>"), 0u);
  EXPECT_EQ(GetAdapterNetMask("<keiner>"), 0u);
  EXPECT_EQ(GetAdapterAddr("Nirgends-Adapter"), invalid);
  EXPECT_EQ(GetAdapterNetMask("Nirgends-Adapter"), invalid);
  unsigned char mac[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(GetAdapterMAC("Nirgends-Adapter", mac), 0);
  EXPECT_EQ(std::count(mac, mac + 6, 0), 6) << "zeroed in every case";
  std::fill(mac, mac + 6, 9);
  EXPECT_EQ(GetAdapterMAC("<keiner>", mac), 0);
  EXPECT_EQ(std::count(mac, mac + 6, 0), 6);
  EXPECT_EQ(GetAdapterMAC("x", nullptr), 0);
}

TEST(Adapters, AllAddressesNeverExceedTheMaximum) {
  unsigned int addresses[64] = {};
  unsigned int masks[64] = {};
  const int all = GetAdapterAddresses("*", 64, addresses, masks);
  ASSERT_GE(all, static_cast<int>(adapter_names().size())) << "at least one pair per adapter";
  unsigned int few[2] = {0, 0xDEAD};
  unsigned int few_masks[2] = {0, 0xDEAD};
  EXPECT_EQ(GetAdapterAddresses("*", 1, few, few_masks), 1);
  EXPECT_EQ(few[1], 0xDEADu);
  EXPECT_EQ(few[0], addresses[0]);
  EXPECT_EQ(GetAdapterAddresses("Nirgends-Adapter", 64, addresses, masks), 0);
}

TEST(Adapters, InterfaceNamesAreTheInterfaceTablesDescriptions) {
  char buffer[4096];
  const int count = GetInterfaceNames(buffer, sizeof buffer);
  const auto names = split_list(buffer);
  EXPECT_EQ(count, static_cast<int>(names.size()));
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), system_interfaces());
  char tiny[2] = {'#', '#'};
  EXPECT_EQ(GetInterfaceNames(tiny, sizeof tiny), 0);
  EXPECT_EQ(tiny[0], '\0');
}

TEST(Ipv4Text, ExportsAgreeWithWinsockOnDottedQuads) {
  const char* texts[] = {"192.168.1.10", "0.0.0.0", "127.0.0.1", "10.20.30.40", "1.2.3.4"};
  for (const char* text : texts) EXPECT_EQ(inetaddr(text), inet_addr(text)) << text;
  EXPECT_STREQ(ipaddr(inet_addr("172.16.254.3")), "172.16.254.3");
}

}  // namespace
