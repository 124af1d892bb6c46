// Lines of a registry file: how each is cut into header, key and value parts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/reg_file_parser.h"

namespace {

using namespace tambre::config;
using kind = reg_line::kind;

std::vector<std::string> lines_of(const std::string& text) {
  reg_line_reader reader(text.c_str());
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) {
    lines.emplace_back(line);
    EXPECT_EQ(reader.number(), static_cast<int>(lines.size()));
  }
  return lines;
}

TEST(RegLineReader, SplitsAtEveryLineEndAndCutsAt511) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } rows[] = {
      {"", {}},
      {"A\r\nB\nC\rD\r\n", {"A", "B", "C", "D"}},
      {"A\r\n\r\n\nB", {"A", "", "", "B"}},
      {"A\r\r\nB\n\rC", {"A", "", "B", "", "C"}},
      {std::string(600, 'a') + "b\r\nnext", {std::string(511, 'a'), "next"}},
  };
  for (const auto& r : rows) EXPECT_EQ(lines_of(r.text), r.lines) << r.text.substr(0, 20);
}

TEST(RegLine, HeaderAndIgnoredLines) {
  const struct {
    const char* line;
    int number;
    bool values;
    kind type;
    std::int32_t error;
  } rows[] = {
      {"REGEDIT4", 1, true, kind::header, kRegOk},
      {"Windows Registry Editor Version 5.00", 1, true, kind::header, kRegOk},
      {" \tREGEDIT4", 1, true, kind::header, kRegOk},
      {"REGEDIT4 ", 1, true, kind::bad, kRegNotRegistryFile},
      {"regedit4", 1, true, kind::bad, kRegNotRegistryFile},
      {"[HKEY_CURRENT_USER\\x]", 1, true, kind::bad, kRegNotRegistryFile},
      {"   ", 1, true, kind::ignored, kRegOk},
      {"; REGEDIT4", 1, true, kind::ignored, kRegOk},
      {"  ;\"a\"=hex:1", 7, true, kind::ignored, kRegOk},
      // A removal reads no values.
      {"\"v\"=hex:01,02", 2, false, kind::ignored, kRegOk},
      {"garbage", 2, false, kind::ignored, kRegOk},
      {"garbage", 1, false, kind::bad, kRegNotRegistryFile},
  };
  for (const auto& r : rows) {
    const reg_line line = parse_reg_line(r.line, r.number, r.values);
    EXPECT_EQ(line.type, r.type) << r.line;
    EXPECT_EQ(line.error, r.error) << r.line;
  }
}

TEST(RegLine, KeyLinesNameOneOfThreeRoots) {
  const struct {
    const char* line;
    std::int32_t error;
    reg_root root = reg_root::classes_root;
    const char* path = "";
  } rows[] = {
      {"[HKEY_CLASSES_ROOT\\CLSID\\{1}]", kRegOk, reg_root::classes_root, "CLSID\\{1}"},
      {"[HKEY_CURRENT_USER\\Software\\x] ; note", kRegOk, reg_root::current_user, "Software\\x"},
      {"  [HKEY_LOCAL_MACHINE\\A]", kRegOk, reg_root::local_machine, "A"},
      {"[HKEY_CURRENT_USER\\a]b]", kRegOk, reg_root::current_user, "a"},
      {"[HKEY_CLASSES_ROOT]", kRegBadKey},
      {"[HKEY_USERS\\x]", kRegBadKey},
      {"[hkey_classes_root\\x]", kRegBadKey},
      {"[HKEY_CURRENT_USER\\x", kRegBadKey},
  };
  for (const auto& r : rows) {
    for (bool values : {true, false}) {
      const reg_line line = parse_reg_line(r.line, 2, values);
      EXPECT_EQ(line.error, r.error) << r.line;
      EXPECT_EQ(line.type, r.error == kRegOk ? kind::key : kind::bad) << r.line;
      if (r.error != kRegOk) continue;
      EXPECT_EQ(line.root, r.root) << r.line;
      EXPECT_EQ(line.path, r.path) << r.line;
    }
  }
}

TEST(RegLine, ValueLinesGiveNameAndTextOrDoubleWord) {
  const struct {
    const char* line;
    std::int32_t error;
    const char* name = "";
    bool is_dword = false;
    const char* text = "";
    std::uint32_t dword = 0;
  } rows[] = {
      {"\"ThreadingModel\"=\"Apartment\"   ", kRegOk, "ThreadingModel", false, "Apartment"},
      {"@=\"ProcessDriver\"", kRegOk, "", false, "ProcessDriver"},
      {"\"a\"=  \t\"b\" c \"d\"", kRegOk, "a", false, "b"},
      {"\"p\"=\"C:\\dir\\\"", kRegOk, "p", false, "C:\\dir\\"},
      {"\"\"=\"\"", kRegOk, "", false, ""},
      {"\"v\"=DWORD:1F", kRegOk, "v", true, "", 31},
      {"\"v\"=dword:0x10", kRegOk, "v", true, "", 16},
      {"\"v\"=dword:-1", kRegOk, "v", true, "", 0xFFFFFFFFu},
      {"\"v\"=dword:+1f", kRegOk, "v", true, "", 31},
      {"\"v\"=dword:12zz", kRegOk, "v", true, "", 0x12},
      {"\"v\"=hex:01,02", kRegInvalidArg},
      {"\"v\"=dword:", kRegInvalidArg},
      {"\"v\"=dword:xyz", kRegInvalidArg},
      {"\"v\"=5", kRegInvalidArg},
      {"\"v=\"x\"", kRegInvalidArg},
      {"\"v\"=\"x", kRegInvalidArg},
  };
  for (const auto& r : rows) {
    const reg_line line = parse_reg_line(r.line, 3, true);
    EXPECT_EQ(line.error, r.error) << r.line;
    if (r.error != kRegOk) {
      EXPECT_EQ(line.type, kind::bad) << r.line;
      continue;
    }
    ASSERT_EQ(line.type, kind::value) << r.line;
    EXPECT_EQ(line.name, r.name) << r.line;
    EXPECT_EQ(line.is_dword, r.is_dword) << r.line;
    EXPECT_EQ(line.is_dword ? std::to_string(line.dword) : std::string(line.text),
              r.is_dword ? std::to_string(r.dword) : std::string(r.text))
        << r.line;
  }
}

}  // namespace
