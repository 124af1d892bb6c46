// The driver and user settings stores against the real registry of the test prefix; Wine's
// own registry calls are the oracle for what was stored where.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/registry_oracle.h"
#include "tambre32/settings.h"

namespace {

using config_test::inspect_key;
using config_test::kStore;
using config_test::read_raw;
using config_test::write_raw;

// One store: its root and its exported operations.
struct store {
  const char* name;
  HKEY root;
  int(TAMBRE_STDCALL* write_string)(const char*, const char*, const char*);
  int(TAMBRE_STDCALL* write_int)(const char*, const char*, LONG);
  int(TAMBRE_STDCALL* get_string)(const char*, const char*, const char*, char*, int);
  LONG(TAMBRE_STDCALL* get_int)(const char*, const char*, LONG);
  int(TAMBRE_STDCALL* delete_section)(const char*);
  HKEY other_root;
};

const store kStores[] = {
    {"driver", HKEY_LOCAL_MACHINE, WriteDrvIniString, WriteDrvIniInt, GetDrvIniString, GetDrvIniInt,
     DeleteDrvIniSection, HKEY_CURRENT_USER},
    {"user", HKEY_CURRENT_USER, WriteUsrIniString, WriteUsrIniInt, GetUsrIniString, GetUsrIniInt, DeleteUsrIniSection,
     HKEY_LOCAL_MACHINE},
};

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
  std::string path() const { return kStore + section_; }

 private:
  std::string section_;
};

TEST_F(Settings, TextAsRegSzWithItsTerminatorAndIntegerAsRegDwordUnderItsOwnRoot) {
  for (const store& s : kStores) {
    EXPECT_EQ(s.write_string(section(), "Port", "COM2:9600,N,8,1"), 1) << s.name;
    const auto text = read_raw(s.root, path(), "Port");
    EXPECT_EQ(text.type, static_cast<DWORD>(REG_SZ)) << s.name;
    EXPECT_EQ(text.text(), std::string("COM2:9600,N,8,1", 16)) << s.name;
    EXPECT_EQ(s.write_int(section(), "Cycle", -5), 1) << s.name;
    const auto integer = read_raw(s.root, path(), "Cycle");
    EXPECT_EQ(integer.type, static_cast<DWORD>(REG_DWORD)) << s.name;
    EXPECT_EQ(integer.dword(), 0xFFFFFFFBu) << s.name;
    EXPECT_EQ(s.get_int(section(), "Cycle", 0), -5) << s.name;
    EXPECT_EQ(s.write_int(section(), "Cycle", 7), 1) << s.name;  // overwritten
    EXPECT_EQ(s.get_int(section(), "Cycle", 0), 7) << s.name;
    config_test::delete_tree(s.root, path());
    EXPECT_FALSE(inspect_key(s.other_root, path()).exists) << s.name;
  }
}

TEST_F(Settings, TextReadFallsBackForMissingWrongOrTooLargeValues) {
  enum stored_as { nothing, text, dword, expand_text, unterminated_text };
  struct row {
    const char* name;
    stored_as stored;
    const char* value;
    const char* fallback;
    int size;
    int result;
    const char* buffer;
  };
  const row rows[] = {
      {"default cut to buffer", nothing, "", "COM1", 3, 2, "CO"},
      {"default fits", nothing, "", "COM1", 10, 4, "COM1"},
      {"no default", nothing, "", nullptr, 10, 0, ""},
      {"buffer of one byte", nothing, "", "COM1", 1, 0, ""},
      {"stored text", text, "COM2", "X", 10, 4, "COM2"},
      {"stored text exactly fits", text, "COM2", "X", 5, 4, "COM2"},
      {"stored text too large", text, "COM2", "X", 4, 1, "X"},
      {"too large without default", text, "COM2", nullptr, 4, 0, ""},
      {"stored empty text", text, "", "X", 10, 0, ""},
      {"stored as integer", dword, "", "X", 10, 1, "X"},
      {"stored as expandable text", expand_text, "abc", "X", 10, 1, "X"},
      {"stored without terminator", unterminated_text, "abc", "X", 10, 3, "abc"},
  };
  for (const store& s : kStores) {
    for (const row& r : rows) {
      RegDeleteKeyValueA(s.root, path().c_str(), "Entry");
      if (r.stored == text) s.write_string(section(), "Entry", r.value);
      if (r.stored == dword) s.write_int(section(), "Entry", 1);
      if (r.stored == expand_text) write_raw(s.root, path(), "Entry", REG_EXPAND_SZ, r.value, 4);
      if (r.stored == unterminated_text) write_raw(s.root, path(), "Entry", REG_SZ, r.value, 3);
      char buffer[16];
      std::memset(buffer, '#', sizeof buffer);
      EXPECT_EQ(s.get_string(section(), "Entry", r.fallback, buffer, r.size), r.result) << s.name << ": " << r.name;
      EXPECT_STREQ(buffer, r.buffer) << s.name << ": " << r.name;
      EXPECT_EQ(buffer[r.size], '#') << s.name << ": " << r.name << " wrote past the buffer";
    }
  }
}

TEST_F(Settings, DefaultMayBeTheCallersOwnBuffer) {
  for (const store& s : kStores) {
    s.write_string(section(), "Long", "a text longer than the buffer");
    char buffer[8] = "keep";
    EXPECT_EQ(s.get_string(section(), "Long", buffer, buffer, sizeof buffer), 4) << s.name;
    EXPECT_STREQ(buffer, "keep") << s.name;
  }
}

TEST_F(Settings, IntegerReadTakesOnlyRegDword) {
  struct row {
    const char* name;
    DWORD type;
    std::vector<unsigned char> data;
    LONG result;
  };
  const row rows[] = {
      {"double word", REG_DWORD, {0x2A, 0, 0, 0}, 42},
      {"text holding a number", REG_SZ, {'4', '2', 0}, -1},
      {"binary of four bytes", REG_BINARY, {0x2A, 0, 0, 0}, -1},
      {"quad word", REG_QWORD, {0x2A, 0, 0, 0, 0, 0, 0, 0}, -1},
  };
  for (const store& s : kStores) {
    EXPECT_EQ(s.get_int(section(), "Missing", -1), -1) << s.name;
    for (const row& r : rows) {
      write_raw(s.root, path(), "Entry", r.type, r.data.data(), static_cast<DWORD>(r.data.size()));
      EXPECT_EQ(s.get_int(section(), "Entry", -1), r.result) << s.name << ": " << r.name;
    }
  }
}

TEST_F(Settings, ReadingAMissingSectionLeavesItsEmptyKeyBehind) {
  for (const store& s : kStores) {
    ASSERT_FALSE(inspect_key(s.root, path()).exists) << s.name;
    char buffer[8];
    EXPECT_EQ(s.get_string(section(), "Entry", "d", buffer, sizeof buffer), 1) << s.name;
    const auto info = inspect_key(s.root, path());
    EXPECT_TRUE(info.exists) << s.name;
    EXPECT_EQ(info.values, 0u) << s.name;
    EXPECT_EQ(info.sub_keys, 0u) << s.name;
    config_test::delete_tree(s.root, path());
    EXPECT_EQ(s.get_int(section(), "Entry", 3), 3) << s.name;
    EXPECT_TRUE(inspect_key(s.root, path()).exists) << s.name;
  }
}

TEST_F(Settings, DeleteRemovesASectionButNotOneWithSubKeys) {
  for (const store& s : kStores) {
    s.write_string(section(), "A", "1");
    EXPECT_EQ(s.delete_section(section()), 1) << s.name;
    EXPECT_FALSE(inspect_key(s.root, path()).exists) << s.name;
    EXPECT_EQ(s.delete_section(section()), 0) << s.name << ": already gone";

    s.write_string(section(), "A", "1");
    s.write_string((section() + std::string("\\Sub")).c_str(), "B", "2");
    EXPECT_EQ(s.delete_section(section()), 0) << s.name;
    const auto info = inspect_key(s.root, path());
    EXPECT_TRUE(info.exists) << s.name;
    EXPECT_EQ(info.values, 1u) << s.name;
    EXPECT_EQ(info.sub_keys, 1u) << s.name;
  }
}

TEST_F(Settings, BadArgumentsFailAndLeaveTheBufferAlone) {
  for (const store& s : kStores) {
    EXPECT_EQ(s.write_string(nullptr, "A", "1"), 0) << s.name;
    EXPECT_EQ(s.write_string(section(), nullptr, "1"), 0) << s.name;
    EXPECT_EQ(s.write_string(section(), "A", nullptr), 0) << s.name;
    EXPECT_EQ(s.write_int(nullptr, "A", 1), 0) << s.name;
    EXPECT_EQ(s.delete_section(nullptr), 0) << s.name;
    EXPECT_EQ(s.delete_section(""), 0) << s.name;
    EXPECT_EQ(s.get_int(nullptr, "A", 9), 9) << s.name;
    char buffer[4] = "abc";
    EXPECT_EQ(s.get_string(section(), "A", "d", buffer, 0), 0) << s.name;
    EXPECT_EQ(s.get_string(section(), "A", "d", buffer, -1), 0) << s.name;
    EXPECT_STREQ(buffer, "abc") << s.name;
    EXPECT_EQ(s.get_string(section(), "A", "d", nullptr, 4), 0) << s.name;
  }
  EXPECT_TRUE(inspect_key(HKEY_LOCAL_MACHINE, "Software\\Brintel\\Ostrand\\Driver").exists);
}

TEST_F(Settings, HexValuesAreStoredAsTextInTheUserStore) {
  const DWORD ports[] = {1016, 0, 255};
  EXPECT_EQ(ProfileWriteHexValues(section(), "Ports", 3, ports), 1);
  const auto raw = read_raw(HKEY_CURRENT_USER, path(), "Ports");
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.text(), std::string("3F8,0,FF", 9));
  EXPECT_FALSE(inspect_key(HKEY_LOCAL_MACHINE, path()).exists);

  DWORD read[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(ProfileGetHexValues(section(), "Ports", 5, read), 3);
  EXPECT_EQ(std::vector<DWORD>(read, read + 5), (std::vector<DWORD>{0x3F8, 0, 0xFF, 0, 0}));
}

TEST_F(Settings, HexValuesOfNothingAreTheEmptyText) {
  EXPECT_EQ(ProfileWriteHexValues(section(), "None", 0, nullptr), 1);
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path(), "None").text(), std::string(1, '\0'));
  DWORD read[2] = {5, 5};
  EXPECT_EQ(ProfileGetHexValues(section(), "None", 2, read), 0);
  EXPECT_EQ(read[0] + read[1], 0u);
  read[0] = read[1] = 5;
  EXPECT_EQ(ProfileGetHexValues(section(), "Missing", 2, read), 0);
  EXPECT_EQ(read[0] + read[1], 0u);
  EXPECT_EQ(ProfileWriteHexValues(section(), "Bad", 2, nullptr), 0);
  EXPECT_EQ(ProfileGetHexValues(section(), "None", 2, nullptr), 0);
}

}  // namespace
