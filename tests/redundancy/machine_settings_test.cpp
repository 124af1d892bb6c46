// A driver module's redundancy settings in the prefix's user registry, read back with the registry API.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "config/registry_oracle.h"
#include "redundancy/settings_record.h"

namespace {

using config_test::inspect_key;
using config_test::read_raw;
using redundancy_test::expect_same;
using redundancy_test::filled;

const std::string kSection = std::string(config_test::kStore) + "redundancy_dll_test.Redundancy";
const std::string kSection2 = std::string(config_test::kStore) + "redundancy_dll_test#2.Redundancy";
HMODULE self() { return GetModuleHandleA(nullptr); }

TEST(MachineSettings, RoundTripInTheIndexsOwnSectionThenDefaultsForMissingWrongOrTooLongEntries) {
  for (const auto& section : {kSection, kSection2}) config_test::delete_tree(HKEY_CURRENT_USER, section);
  const RedundancySettings saved[] = {filled(std::string(127, 'r').c_str(), 1, 65535, -1),
                                      filled("192.168.17.4", 2, 0, 3600000)};
  // All records are saved before any is loaded.
  for (short index : {0, 2}) ASSERT_EQ(SaveMachineRedundancy(self(), index, &saved[index / 2]), 1) << index;
  const auto remote = read_raw(HKEY_CURRENT_USER, kSection2, "RemoteMachine");
  EXPECT_EQ(remote.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(remote.text(), std::string("192.168.17.4", 13));
  for (const auto& [entry, value] : {std::pair{"Mode", 2}, {"AliveTimeout", 3600000}, {"IPPort", 0}}) {
    const auto raw = read_raw(HKEY_CURRENT_USER, kSection2, entry);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD)) << entry;
    EXPECT_EQ(raw.dword(), static_cast<DWORD>(value)) << entry;
  }
  EXPECT_EQ(inspect_key(HKEY_CURRENT_USER, kSection2).values, 4u);
  EXPECT_FALSE(inspect_key(HKEY_LOCAL_MACHINE, kSection2).exists);
  for (short index : {0, 2}) {
    RedundancySettings loaded = filled("stale", 9, 9, 9);
    EXPECT_EQ(LoadMachineRedundancy(self(), index, &loaded),
              static_cast<int>(std::strlen(saved[index / 2].RemoteMachine)));
    expect_same(loaded, saved[index / 2]);
  }

  config_test::delete_tree(HKEY_CURRENT_USER, kSection);
  RedundancySettings loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(SaveMachineRedundancy(self(), 0, nullptr), 0);
  HMODULE not_a_module = reinterpret_cast<HMODULE>(&not_a_module);
  EXPECT_EQ(SaveMachineRedundancy(not_a_module, 0, &loaded), 0);
  EXPECT_EQ(LoadMachineRedundancy(not_a_module, 0, &loaded), 0);
  expect_same(loaded, filled("stale", 9, 9, 9));
  EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, kSection).exists);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 0);
  expect_same(loaded, filled("", 0, 10990, 8000));
  EXPECT_TRUE(inspect_key(HKEY_CURRENT_USER, kSection).exists) << "reading leaves an empty section";
  EXPECT_EQ(inspect_key(HKEY_CURRENT_USER, kSection).values, 0u);

  const std::string name128(128, 'x');
  config_test::write_raw(HKEY_CURRENT_USER, kSection, "RemoteMachine", REG_SZ, name128.c_str(), 129);
  config_test::write_raw(HKEY_CURRENT_USER, kSection, "Mode", REG_SZ, "1", 2);
  const DWORD port = 12345;
  config_test::write_raw(HKEY_CURRENT_USER, kSection, "IPPort", REG_DWORD, &port, sizeof port);
  loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 0);
  expect_same(loaded, filled("", 0, 12345, 8000));

  RedundancySettings unterminated = filled("", 1, 10990, 8000);
  std::memset(unterminated.RemoteMachine, 'y', sizeof unterminated.RemoteMachine);
  ASSERT_EQ(SaveMachineRedundancy(self(), 0, &unterminated), 1);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 127);
  EXPECT_EQ(std::string(loaded.RemoteMachine), std::string(127, 'y'));
  for (const auto& section : {kSection, kSection2}) config_test::delete_tree(HKEY_CURRENT_USER, section);
}

}  // namespace
