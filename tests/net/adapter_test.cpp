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
  if (GetAdaptersInfo(first, &size) == ERROR_SUCCESS) {
    for (auto* a = first; a != nullptr; a = a->Next) names.emplace_back(a->AdapterName);
  }
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

// A display name from the settings replaces the description, an empty one does not (the
// list rules themselves are adapter_list_test's).
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
  EXPECT_EQ(GetAdapterAddresses("Nirgends-Adapter", 64, addresses, masks), 0);
}

}  // namespace
