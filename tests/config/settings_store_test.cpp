// The driver and user settings stores in the prefix's registry, read back with Wine's own calls;
// the user store shares the code and is checked for its root and the hexadecimal values only.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/registry_oracle.h"
#include "tambre32/settings.h"

namespace {

using config_test::inspect_key;
using config_test::read_raw;

TEST(Settings, WrittenUnderTheStoresRootReadBackAndDeleted) {
  const char* section = "TambreTest.Settings";
  const std::string path = std::string(config_test::kStore) + section;
  config_test::delete_tree(HKEY_LOCAL_MACHINE, path);
  config_test::delete_tree(HKEY_CURRENT_USER, path);
  char buffer[16];
  EXPECT_EQ(GetDrvIniString(section, "Entry", "d", buffer, sizeof buffer), 1);
  EXPECT_TRUE(inspect_key(HKEY_LOCAL_MACHINE, path).exists) << "reading leaves the empty section behind";
  EXPECT_EQ(WriteDrvIniString(section, "Port", "COM2:9600,N,8,1"), 1);
  EXPECT_EQ(read_raw(HKEY_LOCAL_MACHINE, path, "Port").text(), std::string("COM2:9600,N,8,1", 16));
  EXPECT_EQ(WriteDrvIniInt(section, "Cycle", -5), 1);
  const auto integer = read_raw(HKEY_LOCAL_MACHINE, path, "Cycle");
  EXPECT_EQ(integer.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(integer.dword(), 0xFFFFFFFBu);
  EXPECT_EQ(GetDrvIniInt(section, "Cycle", 0), -5);
  EXPECT_EQ(GetDrvIniInt(section, "Port", -1), -1) << "integers are read from REG_DWORD only";
  EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, path).exists);

  // Text reads fall back for missing, wrong or too large values and never pass the buffer.
  const struct {
    const char* entry;
    const char* fallback;
    int size, result;
    const char* buffer;
  } rows[] = {
      {"Missing", "COM1", 3, 2, "CO"}, {"Missing", nullptr, 10, 0, ""}, {"Port", "X", 16, 15, "COM2:9600,N,8,1"},
      {"Port", "X", 15, 1, "X"},       {"Cycle", "X", 10, 1, "X"},      {"Cut", "X", 10, 3, "COM"}};
  config_test::write_raw(HKEY_LOCAL_MACHINE, path, "Cut", REG_SZ, "COM2", 3);  // no terminator
  for (const auto& r : rows) {
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetDrvIniString(section, r.entry, r.fallback, buffer, r.size), r.result) << r.entry << r.size;
    EXPECT_STREQ(buffer, r.buffer) << r.entry << r.size;
    if (r.size < 16) {
      EXPECT_EQ(buffer[r.size], '#') << "wrote past the buffer";
    }
  }
  EXPECT_EQ(GetDrvIniString(section, "A", "d", buffer, 0), 0);

  const DWORD ports[] = {1016, 0, 255};
  EXPECT_EQ(ProfileWriteHexValues(section, "Ports", 3, ports), 1);
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, path, "Ports").text(), std::string("3F8,0,FF", 9));
  DWORD read[3] = {};
  EXPECT_EQ(ProfileGetHexValues(section, "Ports", 3, read), 3);
  EXPECT_EQ(WriteUsrIniInt(section, "Cycle", 7), 1);
  EXPECT_EQ(GetUsrIniInt(section, "Cycle", 0), 7);
  EXPECT_EQ(DeleteUsrIniSection(section), 1);
  EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, path).exists);

  WriteDrvIniString((std::string(section) + "\\Sub").c_str(), "B", "2");
  EXPECT_EQ(DeleteDrvIniSection(section), 0) << "not a section with sub-keys";
  config_test::delete_tree(HKEY_LOCAL_MACHINE, path + "\\Sub");
  EXPECT_EQ(DeleteDrvIniSection(section), 1);
  EXPECT_FALSE(inspect_key(HKEY_LOCAL_MACHINE, path).exists);
  EXPECT_EQ(WriteDrvIniString(section, nullptr, "1"), 0);
  EXPECT_EQ(DeleteDrvIniSection(""), 0);
}

}  // namespace
