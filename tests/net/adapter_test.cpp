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

// The names of a list "a|b|", checking the count a function returned for it.
std::vector<std::string> split_list(const char* list, int count) {
  std::vector<std::string> names;
  std::string piece;
  for (const char* c = list; *c != '\0'; ++c) {
    if (*c == '|') {
      names.push_back(piece);
      piece.clear();
    } else {
      piece += *c;
    }
  }
  EXPECT_TRUE(piece.empty()) << "every name is followed by '|'";
  EXPECT_EQ(count, static_cast<int>(names.size()));
  return names;
}

std::vector<std::string> adapter_names() {
  char buffer[4096];
  const int count = GetAdapterNames(buffer, sizeof buffer);
  return split_list(buffer, count);
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

// Sets the display name of an adapter in the network settings for its lifetime.
class display_name {
 public:
  display_name(const std::string& internal, const char* name)
      : key_("System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + internal +
             "\\Connection") {
    EXPECT_EQ(
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, key_.c_str(), "Name", REG_SZ, name, static_cast<DWORD>(strlen(name) + 1)),
        ERROR_SUCCESS);
  }
  ~display_name() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str()); }

 private:
  std::string key_;
};

TEST(Adapters, AdapterAndInterfaceNamesAreTheSystemsInterfaces) {
  const auto names = adapter_names();
  ASSERT_FALSE(names.empty()) << "this machine has network interfaces besides the loopback";
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), system_interfaces());
  char buffer[4096];
  const int count = GetInterfaceNames(buffer, sizeof buffer);
  const auto interfaces = split_list(buffer, count);
  EXPECT_EQ(std::set<std::string>(interfaces.begin(), interfaces.end()), system_interfaces());
  char tiny[2] = {'#', '#'};
  EXPECT_EQ(GetInterfaceNames(tiny, sizeof tiny), 0);
  EXPECT_EQ(tiny[0], '\0');
}

// A display name from the settings replaces the description, an empty one does not, and
// one that does not fit the buffer is skipped for the later shorter ones.
TEST(Adapters, DisplayNamesFromTheNetworkSettings) {
  const auto internal = internal_names();
  ASSERT_FALSE(internal.empty());
  const auto descriptions = adapter_names();
  {
    display_name renamed(internal[0], "LAN-Verbindung 7");
    EXPECT_EQ(adapter_names()[0], "LAN-Verbindung 7");
    EXPECT_NE(GetAdapterAddr("lan-verbindung 7"), invalid);
    EXPECT_EQ(GetAdapterAddr(descriptions[0].c_str()), invalid);
  }
  {
    display_name empty(internal[0], "");
    EXPECT_EQ(adapter_names(), descriptions);
  }
  ASSERT_GE(internal.size(), 2u) << "the cut needs two adapters";
  display_name renamed(internal[0], std::string(200, 'N').c_str());
  std::size_t rest = 1;
  for (std::size_t i = 1; i < descriptions.size(); ++i) rest += descriptions[i].size() + 1;
  std::vector<char> buffer(rest, '#');
  const int count = GetAdapterNames(buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_EQ(split_list(buffer.data(), count), std::vector<std::string>(descriptions.begin() + 1, descriptions.end()));
}

TEST(Adapters, SpecialResultsOfTheLookUps) {
  ASSERT_FALSE(adapter_names().empty());
  EXPECT_EQ(GetAdapterAddr(nullptr), 0u);
  EXPECT_EQ(GetAdapterAddr("<keiner>"), 0u);
  EXPECT_EQ(GetAdapterNetMask("<keiner>"), 0u);
  EXPECT_EQ(GetAdapterAddr("Nirgends-Adapter"), invalid);
  EXPECT_EQ(GetAdapterNetMask("Nirgends-Adapter"), invalid);
  unsigned char mac[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(GetAdapterMAC("Nirgends-Adapter", mac), 0);
  EXPECT_EQ(std::count(mac, mac + 6, 0), 6) << "zeroed in every case";
  EXPECT_EQ(GetAdapterMAC("x", nullptr), 0);
  unsigned int addresses[64] = {}, masks[64] = {};
  ASSERT_GE(GetAdapterAddresses("*", 64, addresses, masks), static_cast<int>(adapter_names().size()));
  unsigned int few[2] = {0, 0xDEAD}, few_masks[2] = {0, 0xDEAD};
  EXPECT_EQ(GetAdapterAddresses("*", 1, few, few_masks), 1);
  EXPECT_EQ(few[1], 0xDEADu);
  EXPECT_EQ(few[0], addresses[0]);
  EXPECT_EQ(GetAdapterAddresses("Nirgends-Adapter", 64, addresses, masks), 0);
}

TEST(Ipv4Text, ExportsAgreeWithWinsock) {
  EXPECT_EQ(inetaddr("192.168.1.10"), inet_addr("192.168.1.10"));
  EXPECT_STREQ(ipaddr(inet_addr("172.16.254.3")), "172.16.254.3");
}

}  // namespace
