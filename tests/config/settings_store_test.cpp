// The driver and user settings stores against the prefix's registry, read back with
// Wine's own registry calls. Both stores share their code; the user store is checked for
// its root and the hexadecimal values only.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/registry_oracle.h"
#include "tambre32/settings.h"

namespace {

using config_test::inspect_key;
using config_test::read_raw;
using config_test::write_raw;

// A section of its own per test, gone afterwards from both stores.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    section_ = std::string("TambreTest.") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    TearDown();
  }
  void TearDown() override {
    config_test::delete_tree(HKEY_LOCAL_MACHINE, path());
    config_test::delete_tree(HKEY_CURRENT_USER, path());
  }
  const char* section() const { return section_.c_str(); }
  std::string path() const { return config_test::kStore + section_; }

 private:
  std::string section_;
};

TEST_F(Settings, WrittenUnderTheStoresRootAndReadBack) {
  ASSERT_FALSE(inspect_key(HKEY_LOCAL_MACHINE, path()).exists);
  char buffer[8];
  EXPECT_EQ(GetDrvIniString(section(), "Entry", "d", buffer, sizeof buffer), 1);
  EXPECT_EQ(inspect_key(HKEY_LOCAL_MACHINE, path()).values, 0u) << "reading leaves the empty section behind";
  EXPECT_TRUE(inspect_key(HKEY_LOCAL_MACHINE, path()).exists);
  EXPECT_EQ(WriteDrvIniString(section(), "Port", "COM2:9600,N,8,1"), 1);
  const auto text = read_raw(HKEY_LOCAL_MACHINE, path(), "Port");
  EXPECT_EQ(text.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text.text(), std::string("COM2:9600,N,8,1", 16));
  EXPECT_EQ(WriteDrvIniInt(section(), "Cycle", -5), 1);
  const auto integer = read_raw(HKEY_LOCAL_MACHINE, path(), "Cycle");
  EXPECT_EQ(integer.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(integer.dword(), 0xFFFFFFFBu);
  EXPECT_EQ(GetDrvIniInt(section(), "Cycle", 0), -5);
  EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, path()).exists);

  EXPECT_EQ(WriteUsrIniInt(section(), "Cycle", 7), 1);
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path(), "Cycle").dword(), 7u);
  EXPECT_EQ(GetUsrIniInt(section(), "Cycle", 0), 7);
  EXPECT_EQ(DeleteUsrIniSection(section()), 1);
  EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, path()).exists);
  EXPECT_TRUE(inspect_key(HKEY_LOCAL_MACHINE, path()).exists);
}

TEST_F(Settings, TextReadFallsBackForMissingWrongOrTooLargeValues) {
  enum stored_as { nothing, text, dword, unterminated_text };
  struct row {
    const char* name;
    stored_as stored;
    const char* fallback;
    int size;
    int result;
    const char* buffer;
  };
  const row rows[] = {
      {"default cut to buffer", nothing, "COM1", 3, 2, "CO"},
      {"no default", nothing, nullptr, 10, 0, ""},
      {"stored text exactly fits", text, "X", 5, 4, "COM2"},
      {"stored text too large", text, "X", 4, 1, "X"},
      {"stored as integer", dword, "X", 10, 1, "X"},
      {"stored without terminator", unterminated_text, "X", 10, 3, "COM"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, path().c_str(), "Entry");
    if (r.stored == text) WriteDrvIniString(section(), "Entry", "COM2");
    if (r.stored == dword) WriteDrvIniInt(section(), "Entry", 1);
    if (r.stored == unterminated_text) write_raw(HKEY_LOCAL_MACHINE, path(), "Entry", REG_SZ, "COM2", 3);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetDrvIniString(section(), "Entry", r.fallback, buffer, r.size), r.result);
    EXPECT_STREQ(buffer, r.buffer);
    EXPECT_EQ(buffer[r.size], '#') << "wrote past the buffer";
  }
  write_raw(HKEY_LOCAL_MACHINE, path(), "Entry", REG_SZ, "42", 3);
  EXPECT_EQ(GetDrvIniInt(section(), "Entry", -1), -1) << "integers are read from REG_DWORD only";
}

TEST_F(Settings, DeleteAndBadArguments) {
  WriteDrvIniString(section(), "A", "1");
  WriteDrvIniString((section() + std::string("\\Sub")).c_str(), "B", "2");
  EXPECT_EQ(DeleteDrvIniSection(section()), 0) << "not a section with sub-keys";
  EXPECT_EQ(inspect_key(HKEY_LOCAL_MACHINE, path()).sub_keys, 1u);
  config_test::delete_tree(HKEY_LOCAL_MACHINE, path() + "\\Sub");
  EXPECT_EQ(DeleteDrvIniSection(section()), 1);
  EXPECT_FALSE(inspect_key(HKEY_LOCAL_MACHINE, path()).exists);
  EXPECT_EQ(DeleteDrvIniSection(section()), 0) << "already gone";

  EXPECT_EQ(WriteDrvIniString(section(), nullptr, "1"), 0);
  EXPECT_EQ(WriteDrvIniString(section(), "A", nullptr), 0);
  EXPECT_EQ(WriteDrvIniInt(nullptr, "A", 1), 0);
  EXPECT_EQ(DeleteDrvIniSection(""), 0);
  EXPECT_EQ(GetDrvIniInt(nullptr, "A", 9), 9);
  char buffer[4] = "abc";
  EXPECT_EQ(GetDrvIniString(section(), "A", "d", buffer, 0), 0);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(GetDrvIniString(section(), "A", "d", nullptr, 4), 0);
  EXPECT_TRUE(inspect_key(HKEY_LOCAL_MACHINE, "Software\\Brintel\\Ostrand\\Driver").exists);
}

TEST_F(Settings, HexValuesAreStoredAsTextInTheUserStore) {
  const DWORD ports[] = {1016, 0, 255};
  EXPECT_EQ(ProfileWriteHexValues(section(), "Ports", 3, ports), 1);
  const auto raw = read_raw(HKEY_CURRENT_USER, path(), "Ports");
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.text(), std::string("3F8,0,FF", 9));
  DWORD read[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(ProfileGetHexValues(section(), "Ports", 5, read), 3);
  EXPECT_EQ(std::vector<DWORD>(read, read + 5), (std::vector<DWORD>{0x3F8, 0, 0xFF, 0, 0}));
  EXPECT_EQ(ProfileWriteHexValues(section(), "None", 0, nullptr), 1);
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path(), "None").text(), std::string(1, '\0'));
  read[0] = read[1] = 5;
  EXPECT_EQ(ProfileGetHexValues(section(), "Missing", 2, read), 0);
  EXPECT_EQ(read[0] + read[1], 0u);
  EXPECT_EQ(ProfileWriteHexValues(section(), "Bad", 2, nullptr), 0);
}

}  // namespace
