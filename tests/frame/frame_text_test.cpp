// The frame's text rules: message prefixes and the one-line error text with its code.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/frame_text.h"

namespace {

using tambre::frame::module_caption;
using tambre::frame::module_prefix;
using tambre::frame::one_line_with_code;

TEST(ModulePrefix, NameUpToTheFirstDotThenColon) {
  const struct {
    const char* name;
    const char* path;
    const char* prefix;
    const char* caption;
  } cases[] = {
      {"driver file", "C:\\X\\MODBUS.DRV", "MODBUS: ", "MODBUS"},
      {"two dots", "C:\\a.b\\drv.v2.dll", "drv: ", "drv"},
      {"no dot", "C:\\X\\NODOT", "NODOT", "NODOT"},
      {"no backslash", "MODBUS.DRV", "", "MODBUS"},
      {"dot first", "C:\\.hidden", ": ", ""},
      {"empty name", "C:\\X\\", "", ""},
      {"empty", "", "", ""},
  };
  for (const auto& c : cases) {
    char out[64];
    EXPECT_EQ(module_prefix(c.path, out, sizeof out), std::strlen(c.prefix)) << c.name;
    EXPECT_STREQ(out, c.prefix) << c.name;
    EXPECT_EQ(module_caption(c.path, out, sizeof out), std::strlen(c.caption)) << c.name;
    EXPECT_STREQ(out, c.caption) << c.name;
  }
}

TEST(ModulePrefix, CutToTheBuffer) {
  char out[5];
  EXPECT_EQ(module_prefix("C:\\MODBUS.DRV", out, sizeof out), 4u);
  EXPECT_STREQ(out, "MODB");
  EXPECT_EQ(module_prefix("C:\\MODBUS.DRV", nullptr, 0), 0u);
  char untouched = '#';
  EXPECT_EQ(module_prefix("C:\\MODBUS.DRV", &untouched, 0), 0u);
  EXPECT_EQ(module_caption("C:\\MODBUS.DRV", &untouched, 0), 0u);
  EXPECT_EQ(untouched, '#');
  const std::string long_name = "C:\\" + std::string(500, 'n') + ".drv";
  char big[768];
  EXPECT_EQ(module_prefix(long_name.c_str(), big, sizeof big), 502u);
}

TEST(OneLineWithCode, BlanksForLineBreaksAndCodeWhenThereIsRoom) {
  const struct {
    const char* name;
    const char* system_text;
    size_t size;
    unsigned code;
    const char* expected;
  } cases[] = {
      {"decimal below 0x80000000", "Access denied.\r\n", 512, 5, "Access denied.  [OS #5]"},
      {"hexadecimal from 0x80000000", "Access denied.\r\n", 512, 0x80070005u, "Access denied.  [OS #80070005]"},
      {"largest decimal", "x", 512, 0x7fffffffu, "x[OS #2147483647]"},
      {"success has no code", "Done.\r\n", 512, 0, "Done.  "},
      {"21 bytes never get a code", "", 21, 5, ""},
      {"22 bytes with an empty text", "", 22, 5, "[OS #5]"},
      {"text of size - 21 characters", "abc", 24, 5, "abc"},
      {"text of size - 22 characters", "ab", 24, 5, "ab[OS #5]"},
      {"inner line breaks", "a\nb\rc", 512, 0, "a b c"},
      {"no system text", "", 512, 1234, "[OS #1234]"},
  };
  for (const auto& c : cases) {
    char buffer[512];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, c.system_text);
    one_line_with_code(buffer, c.size, c.code);
    EXPECT_STREQ(buffer, c.expected) << c.name;
    EXPECT_LT(std::strlen(buffer), c.size) << c.name;
  }
}

}  // namespace
