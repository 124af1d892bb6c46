// Lines of a registry file: how each is cut into header, key and value parts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/reg_file_parser.h"

namespace {

using tambre::config::kRegBadKey;
using tambre::config::kRegInvalidArg;
using tambre::config::kRegNotRegistryFile;
using tambre::config::kRegOk;
using tambre::config::parse_reg_line;
using tambre::config::reg_line;
using tambre::config::reg_line_reader;
using tambre::config::reg_root;
using kind = reg_line::kind;

std::vector<std::string> lines_of(const char* text) {
  reg_line_reader reader(text);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) {
    lines.emplace_back(line);
    EXPECT_EQ(reader.number(), static_cast<int>(lines.size()));
  }
  return lines;
}

TEST(RegLineReader, SplitsAtEveryLineEnd) {
  struct row {
    const char* name;
    const char* text;
    std::vector<std::string> lines;
  };
  const row rows[] = {
      {"empty text", "", {}},
      {"crlf lf and cr", "A\r\nB\nC\rD", {"A", "B", "C", "D"}},
      {"final end adds no line", "A\r\n", {"A"}},
      {"blank lines count", "A\r\n\r\n\nB", {"A", "", "", "B"}},
      {"cr then crlf is two ends", "A\r\r\nB", {"A", "", "B"}},
      {"lf cr is two ends", "A\n\rB", {"A", "", "B"}},
  };
  for (const row& r : rows) EXPECT_EQ(lines_of(r.text), r.lines) << r.name;
}

TEST(RegLineReader, ReadsAtMost511CharactersAndSkipsTheRest) {
  const std::string text = std::string(600, 'a') + "b\r\nnext";
  const auto lines = lines_of(text.c_str());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(511, 'a'));
  EXPECT_EQ(lines[1], "next");
}

TEST(RegLine, HeaderIsCheckedOnLineOneOnly) {
  struct row {
    const char* name;
    const char* line;
    int number;
    kind type;
    std::int32_t error;
  };
  const row rows[] = {
      {"regedit4", "REGEDIT4", 1, kind::header, kRegOk},
      {"version 5", "Windows Registry Editor Version 5.00", 1, kind::header, kRegOk},
      {"leading blanks", " \tREGEDIT4", 1, kind::header, kRegOk},
      {"trailing blank", "REGEDIT4 ", 1, kind::bad, kRegNotRegistryFile},
      {"lower case", "regedit4", 1, kind::bad, kRegNotRegistryFile},
      {"utf-16 byte order mark", "\xFF\xFER", 1, kind::bad, kRegNotRegistryFile},
      {"key on line one", "[HKEY_CURRENT_USER\\x]", 1, kind::bad, kRegNotRegistryFile},
      {"blank line one", "   ", 1, kind::ignored, kRegOk},
      {"comment line one", "; REGEDIT4", 1, kind::ignored, kRegOk},
      {"comment later", "  ;\"a\"=hex:1", 7, kind::ignored, kRegOk},
  };
  for (const row& r : rows) {
    const reg_line line = parse_reg_line(r.line, r.number, true);
    EXPECT_EQ(line.type, r.type) << r.name;
    EXPECT_EQ(line.error, r.error) << r.name;
  }
}

TEST(RegLine, KeyLinesNameOneOfThreeRoots) {
  struct row {
    const char* name;
    const char* line;
    std::int32_t error;
    reg_root root;
    const char* path;
  };
  const row rows[] = {
      {"classes root", "[HKEY_CLASSES_ROOT\\CLSID\\{1}]", kRegOk, reg_root::classes_root, "CLSID\\{1}"},
      {"current user", "[HKEY_CURRENT_USER\\Software\\x]", kRegOk, reg_root::current_user, "Software\\x"},
      {"local machine", "  [HKEY_LOCAL_MACHINE\\A]", kRegOk, reg_root::local_machine, "A"},
      {"text after bracket", "[HKEY_CURRENT_USER\\Software\\x] ; note", kRegOk, reg_root::current_user, "Software\\x"},
      {"cut at first bracket", "[HKEY_CURRENT_USER\\a]b]", kRegOk, reg_root::current_user, "a"},
      {"no backslash after root", "[HKEY_CLASSES_ROOT]", kRegBadKey, reg_root::classes_root, ""},
      {"unknown root", "[HKEY_USERS\\x]", kRegBadKey, reg_root::classes_root, ""},
      {"root in lower case", "[hkey_classes_root\\x]", kRegBadKey, reg_root::classes_root, ""},
      {"no closing bracket", "[HKEY_CURRENT_USER\\x", kRegBadKey, reg_root::classes_root, ""},
  };
  for (const row& r : rows) {
    for (bool values : {true, false}) {
      const reg_line line = parse_reg_line(r.line, 2, values);
      EXPECT_EQ(line.error, r.error) << r.name;
      if (r.error != kRegOk) {
        EXPECT_EQ(line.type, kind::bad) << r.name;
        continue;
      }
      EXPECT_EQ(line.type, kind::key) << r.name;
      EXPECT_EQ(line.root, r.root) << r.name;
      EXPECT_EQ(line.path, r.path) << r.name;
    }
  }
}

TEST(RegLine, ValueLinesGiveNameAndTextOrDoubleWord) {
  struct row {
    const char* name;
    const char* line;
    std::int32_t error;
    const char* value_name;
    bool is_dword;
    const char* text;
    std::uint32_t dword;
  };
  const row rows[] = {
      {"text with trailing blanks", "\"ThreadingModel\"=\"Apartment\"   ", kRegOk, "ThreadingModel", false, "Apartment",
       0},
      {"default value", "@=\"ProcessDriver\"", kRegOk, "", false, "ProcessDriver", 0},
      {"blanks after equals", "\"a\"=  \t\"b\"", kRegOk, "a", false, "b", 0},
      {"backslash is ordinary", "\"p\"=\"C:\\dir\\\"", kRegOk, "p", false, "C:\\dir\\", 0},
      {"text after closing quote", "\"a\"=\"b\" c \"d\"", kRegOk, "a", false, "b", 0},
      {"empty text", "\"a\"=\"\"", kRegOk, "a", false, "", 0},
      {"dword upper case prefix", "\"v\"=DWORD:1F", kRegOk, "v", true, "", 31},
      {"dword 0x prefix", "\"v\"=dword:0x10", kRegOk, "v", true, "", 16},
      {"dword largest", "\"v\"=dword:FFFFFFFF", kRegOk, "v", true, "", 0xFFFFFFFFu},
      {"dword signs as %x reads them", "\"v\"=dword:-1", kRegOk, "v", true, "", 0xFFFFFFFFu},
      {"dword plus sign", "\"v\"=dword:+1f", kRegOk, "v", true, "", 31},
      {"empty name in quotes", "\"\"=\"x\"", kRegOk, "", false, "x", 0},
      {"dword stops at non-digit", "\"v\"=dword:12zz", kRegOk, "v", true, "", 0x12},
      {"hex list", "\"v\"=hex:01,02", kRegInvalidArg, "", false, "", 0},
      {"dword without number", "\"v\"=dword:", kRegInvalidArg, "", false, "", 0},
      {"dword with no digit", "\"v\"=dword:xyz", kRegInvalidArg, "", false, "", 0},
      {"bare number", "\"v\"=5", kRegInvalidArg, "", false, "", 0},
      {"unterminated name", "\"v=\"x\"", kRegInvalidArg, "", false, "", 0},
      {"unterminated text", "\"v\"=\"x", kRegInvalidArg, "", false, "", 0},
  };
  for (const row& r : rows) {
    const reg_line line = parse_reg_line(r.line, 3, true);
    EXPECT_EQ(line.error, r.error) << r.name;
    if (r.error != kRegOk) {
      EXPECT_EQ(line.type, kind::bad) << r.name;
      continue;
    }
    ASSERT_EQ(line.type, kind::value) << r.name;
    EXPECT_EQ(line.name, r.value_name) << r.name;
    EXPECT_EQ(line.is_dword, r.is_dword) << r.name;
    if (r.is_dword) {
      EXPECT_EQ(line.dword, r.dword) << r.name;
    } else {
      EXPECT_EQ(line.text, r.text) << r.name;
    }
  }
}

TEST(RegLine, RemovalReadsNoValues) {
  EXPECT_EQ(parse_reg_line("\"v\"=hex:01,02", 2, false).type, kind::ignored);
  EXPECT_EQ(parse_reg_line("garbage", 2, false).type, kind::ignored);
  EXPECT_EQ(parse_reg_line("garbage", 1, false).error, kRegNotRegistryFile);
}

}  // namespace
