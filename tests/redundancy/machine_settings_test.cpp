// A driver module's redundancy settings in the prefix's user registry, read back with the registry API.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "config/registry_oracle.h"
#include "redundancy/settings_record.h"

namespace {

using config_test::read_raw;
using redundancy_test::expect_same;
using redundancy_test::filled;

std::string path(const std::string& section) { return config_test::kStore + section; }
const std::string kSection = path("redundancy_dll_test.Redundancy");
HMODULE self() { return GetModuleHandleA(nullptr); }

// The test program's own sections, gone before and after each test.
class MachineSettings : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const char* suffix : {"", "#2"}) {
      config_test::delete_tree(HKEY_CURRENT_USER, path("redundancy_dll_test" + std::string(suffix) + ".Redundancy"));
    }
  }
};

TEST_F(MachineSettings, SaveWritesFourEntriesOfTheirKindsInTheModulesSection) {
  const RedundancySettings s = filled("standby.local", 2, 40000, 300);
  ASSERT_EQ(SaveMachineRedundancy(self(), 0, &s), 1);
  const auto remote = read_raw(HKEY_CURRENT_USER, kSection, "RemoteMachine");
  EXPECT_EQ(remote.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(remote.text(), std::string("standby.local", 14));
  for (const auto& [entry, value] : {std::pair{"Mode", 2}, {"AliveTimeout", 300}, {"IPPort", 40000}}) {
    const auto raw = read_raw(HKEY_CURRENT_USER, kSection, entry);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD)) << entry;
    EXPECT_EQ(raw.dword(), static_cast<DWORD>(value)) << entry;
  }
  EXPECT_EQ(config_test::inspect_key(HKEY_CURRENT_USER, kSection).values, 4u);
  EXPECT_FALSE(config_test::inspect_key(HKEY_LOCAL_MACHINE, kSection).exists);
}

// Each index has a section of its own: all records are saved before any is loaded.
TEST_F(MachineSettings, RoundTripKeepsEveryFieldInTheIndexsOwnSection) {
  const RedundancySettings saved[] = {filled(std::string(127, 'r').c_str(), 1, 65535, -1),
                                      filled("192.168.17.4", 2, 0, 3600000)};
  for (short index : {0, 2}) ASSERT_EQ(SaveMachineRedundancy(self(), index, &saved[index / 2]), 1) << index;
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path("redundancy_dll_test#2.Redundancy"), "RemoteMachine").text(),
            std::string("192.168.17.4", 13));
  for (short index : {0, 2}) {
    RedundancySettings loaded = filled("stale", 9, 9, 9);
    EXPECT_EQ(LoadMachineRedundancy(self(), index, &loaded),
              static_cast<int>(std::strlen(saved[index / 2].RemoteMachine)));
    expect_same(loaded, saved[index / 2]);
  }
}

TEST_F(MachineSettings, MissingWrongOrTooLongEntriesGiveTheDefaults) {
  RedundancySettings loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(SaveMachineRedundancy(self(), 0, nullptr), 0);
  HMODULE not_a_module = reinterpret_cast<HMODULE>(&not_a_module);
  EXPECT_EQ(SaveMachineRedundancy(not_a_module, 0, &loaded), 0);
  EXPECT_EQ(LoadMachineRedundancy(not_a_module, 0, &loaded), 0);
  expect_same(loaded, filled("stale", 9, 9, 9));
  EXPECT_FALSE(config_test::inspect_key(HKEY_CURRENT_USER, kSection).exists);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 0);
  expect_same(loaded, filled("", 0, 10990, 8000));
  const auto info = config_test::inspect_key(HKEY_CURRENT_USER, kSection);
  EXPECT_TRUE(info.exists) << "reading leaves an empty section";
  EXPECT_EQ(info.values, 0u);

  const std::string name128(128, 'x');
  config_test::write_raw(HKEY_CURRENT_USER, kSection, "RemoteMachine", REG_SZ, name128.c_str(), 129);
  config_test::write_raw(HKEY_CURRENT_USER, kSection, "Mode", REG_SZ, "1", 2);
  const DWORD port = 12345;
  config_test::write_raw(HKEY_CURRENT_USER, kSection, "IPPort", REG_DWORD, &port, sizeof port);
  loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 0);
  expect_same(loaded, filled("", 0, 12345, 8000));

  RedundancySettings saved = filled("", 1, 10990, 8000);
  std::memset(saved.RemoteMachine, 'y', sizeof saved.RemoteMachine);  // no terminator
  ASSERT_EQ(SaveMachineRedundancy(self(), 0, &saved), 1);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 127);
  EXPECT_EQ(std::string(loaded.RemoteMachine), std::string(127, 'y'));
}

}  // namespace
