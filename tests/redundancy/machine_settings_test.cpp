// A driver module's redundancy settings in the real user registry of the test prefix;
// Wine's own registry calls show what was stored where.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "config/registry_oracle.h"
#include "support/temp_dir.h"
#include "tambre32/redundancy.h"

namespace {

using config_test::kStore;
using config_test::read_raw;

// The test program's own sections ("redundancy_dll_test[#n].Redundancy"), gone before and
// after each test.
class MachineSettings : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const char* section : {"redundancy_dll_test.Redundancy", "redundancy_dll_test#2.Redundancy"}) {
      config_test::delete_tree(HKEY_CURRENT_USER, kStore + std::string(section));
    }
  }
  static HMODULE self() { return GetModuleHandleA(nullptr); }
  static std::string path(const char* section) { return kStore + std::string(section); }
};

RedundancySettings filled(const char* remote, int16_t mode, uint16_t port, int32_t timeout) {
  RedundancySettings s;
  std::memset(&s, 0, sizeof s);
  std::strcpy(s.RemoteMachine, remote);
  s.Mode = mode;
  s.IPPort = port;
  s.AliveTimeout = timeout;
  return s;
}

TEST_F(MachineSettings, SaveWritesFourEntriesOfTheirKindsInTheModulesSection) {
  const RedundancySettings s = filled("standby.local", 2, 40000, 300);
  ASSERT_EQ(SaveMachineRedundancy(self(), 0, &s), 1);
  const std::string section = path("redundancy_dll_test.Redundancy");
  const auto remote = read_raw(HKEY_CURRENT_USER, section, "RemoteMachine");
  EXPECT_EQ(remote.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(remote.text(), std::string("standby.local", 14));
  struct row {
    const char* entry;
    DWORD value;
  };
  for (const row& r : {row{"Mode", 2}, row{"AliveTimeout", 300}, row{"IPPort", 40000}}) {
    const auto raw = read_raw(HKEY_CURRENT_USER, section, r.entry);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD)) << r.entry;
    EXPECT_EQ(raw.dword(), r.value) << r.entry;
  }
  EXPECT_EQ(config_test::inspect_key(HKEY_CURRENT_USER, section).values, 4u);
  // Nothing in the driver store, nothing numbered.
  EXPECT_FALSE(config_test::inspect_key(HKEY_LOCAL_MACHINE, section).exists);
  EXPECT_FALSE(config_test::inspect_key(HKEY_CURRENT_USER, path("redundancy_dll_test#2.Redundancy")).exists);
}

TEST_F(MachineSettings, IndexSelectsItsOwnSection) {
  const RedundancySettings first = filled("10.0.0.1", 1, 10991, 2000);
  const RedundancySettings second = filled("10.0.0.2", 2, 10992, 4000);
  ASSERT_EQ(SaveMachineRedundancy(self(), 0, &first), 1);
  ASSERT_EQ(SaveMachineRedundancy(self(), 2, &second), 1);
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path("redundancy_dll_test#2.Redundancy"), "RemoteMachine").text(),
            std::string("10.0.0.2", 9));
  RedundancySettings loaded = filled("", 0, 0, 0);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 8);
  EXPECT_STREQ(loaded.RemoteMachine, "10.0.0.1");
  EXPECT_EQ(loaded.IPPort, 10991);
  EXPECT_EQ(LoadMachineRedundancy(self(), 2, &loaded), 8);
  EXPECT_STREQ(loaded.RemoteMachine, "10.0.0.2");
  EXPECT_EQ(loaded.Mode, 2);
  EXPECT_EQ(loaded.IPPort, 10992);
  EXPECT_EQ(loaded.AliveTimeout, 4000);
}

TEST_F(MachineSettings, RoundTripKeepsEveryField) {
  const std::string name127(127, 'r');
  const RedundancySettings rows[] = {
      filled("master", 1, 10990, 8000),
      filled("192.168.17.4", 2, 65535, 3600000),
      filled(name127.c_str(), 0, 1, 1000),
      filled("", 2, 0, -1),
  };
  for (const RedundancySettings& saved : rows) {
    ASSERT_EQ(SaveMachineRedundancy(self(), 0, &saved), 1) << saved.RemoteMachine;
    RedundancySettings loaded = filled("stale", 9, 9, 9);
    EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), static_cast<int>(std::strlen(saved.RemoteMachine)));
    EXPECT_STREQ(loaded.RemoteMachine, saved.RemoteMachine);
    EXPECT_EQ(loaded.Mode, saved.Mode) << saved.RemoteMachine;
    EXPECT_EQ(loaded.IPPort, saved.IPPort) << saved.RemoteMachine;
    EXPECT_EQ(loaded.AliveTimeout, saved.AliveTimeout) << saved.RemoteMachine;
  }
}

TEST_F(MachineSettings, MissingEntriesGiveTheDefaultsAndLeaveAnEmptySection) {
  RedundancySettings loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 0);
  EXPECT_STREQ(loaded.RemoteMachine, "");
  EXPECT_EQ(loaded.Mode, 0);
  EXPECT_EQ(loaded.AliveTimeout, 8000);
  EXPECT_EQ(loaded.IPPort, 10990);
  const auto info = config_test::inspect_key(HKEY_CURRENT_USER, path("redundancy_dll_test.Redundancy"));
  EXPECT_TRUE(info.exists);
  EXPECT_EQ(info.values, 0u);
}

TEST_F(MachineSettings, EntriesOfAnotherKindOrTooLongGiveTheDefaults) {
  const std::string section = path("redundancy_dll_test.Redundancy");
  const std::string name128(128, 'x');
  config_test::write_raw(HKEY_CURRENT_USER, section, "RemoteMachine", REG_SZ, name128.c_str(), 129);
  config_test::write_raw(HKEY_CURRENT_USER, section, "Mode", REG_SZ, "1", 2);
  const DWORD port = 12345;
  config_test::write_raw(HKEY_CURRENT_USER, section, "IPPort", REG_DWORD, &port, sizeof port);
  RedundancySettings loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 0);
  EXPECT_STREQ(loaded.RemoteMachine, "");
  EXPECT_EQ(loaded.Mode, 0);
  EXPECT_EQ(loaded.IPPort, 12345);
  EXPECT_EQ(loaded.AliveTimeout, 8000);
}

TEST_F(MachineSettings, FullNameFieldIsCutToWhatALoadReturns) {
  RedundancySettings saved = filled("", 1, 10990, 8000);
  std::memset(saved.RemoteMachine, 'y', sizeof saved.RemoteMachine);  // no terminator
  ASSERT_EQ(SaveMachineRedundancy(self(), 0, &saved), 1);
  RedundancySettings loaded = filled("", 0, 0, 0);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, &loaded), 127);
  EXPECT_EQ(std::string(loaded.RemoteMachine), std::string(127, 'y'));
}

TEST_F(MachineSettings, NullRecordOrModuleWithoutFileTouchesNothing) {
  EXPECT_EQ(SaveMachineRedundancy(self(), 0, nullptr), 0);
  EXPECT_EQ(LoadMachineRedundancy(self(), 0, nullptr), 0);
  EXPECT_FALSE(config_test::inspect_key(HKEY_CURRENT_USER, path("redundancy_dll_test.Redundancy")).exists);
  const RedundancySettings s = filled("peer", 1, 10990, 8000);
  HMODULE not_a_module = reinterpret_cast<HMODULE>(&not_a_module);
  EXPECT_EQ(SaveMachineRedundancy(not_a_module, 0, &s), 0);
  RedundancySettings loaded = filled("stale", 9, 9, 9);
  EXPECT_EQ(LoadMachineRedundancy(not_a_module, 0, &loaded), 0);
  EXPECT_STREQ(loaded.RemoteMachine, "stale");
  EXPECT_EQ(loaded.Mode, 9);
}

// Another module, loaded from a directory of its own under the name drv.dll: the section
// comes from that module's file name.
TEST_F(MachineSettings, SectionOfALoadedDriverModule) {
  tambre::test::temp_dir dir;
  char library[MAX_PATH];
  ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), library, sizeof library), 0u);
  const std::string copy = dir.file("drv.dll");
  ASSERT_TRUE(CopyFileA(library, copy.c_str(), FALSE)) << GetLastError();
  HMODULE driver = LoadLibraryA(copy.c_str());
  ASSERT_NE(driver, nullptr) << GetLastError();
  const RedundancySettings s = filled("peer", 1, 10990, 8000);
  EXPECT_EQ(SaveMachineRedundancy(driver, 0, &s), 1);
  EXPECT_EQ(SaveMachineRedundancy(driver, 2, &s), 1);
  FreeLibrary(driver);
  for (const char* section : {"drv.Redundancy", "drv#2.Redundancy"}) {
    EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path(section), "RemoteMachine").text(), std::string("peer", 5)) << section;
    config_test::delete_tree(HKEY_CURRENT_USER, path(section));
  }
}

}  // namespace
