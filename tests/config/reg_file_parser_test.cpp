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

// Every part of a line in one text: its kind, then what the kind carries.
std::string shown(const reg_line& line) {
  const char* roots[] = {"HKCR", "HKCU", "HKLM"};
  if (line.type == kind::bad) return "bad " + std::to_string(line.error);
  if (line.error != kRegOk) return "an error on a good line";
  if (line.type == kind::key)
    return std::string("key ") + roots[static_cast<int>(line.root)] + "\\" + std::string(line.path);
  if (line.type != kind::value) return line.type == kind::header ? "header" : "ignored";
  return (line.is_dword ? "dword " : "text ") + std::string(line.name) + "=" +
         (line.is_dword ? std::to_string(line.dword) : std::string(line.text));
}

TEST(RegLine, HeaderKeyAndValueLines) {
  const std::string not_registry = "bad " + std::to_string(kRegNotRegistryFile);
  const std::string bad_key = "bad " + std::to_string(kRegBadKey);
  const std::string invalid = "bad " + std::to_string(kRegInvalidArg);
  const struct {
    const char* line;
    int number;
    bool values;
    std::string shown;
  } rows[] = {
      {"REGEDIT4", 1, true, "header"},
      {"Windows Registry Editor Version 5.00", 1, true, "header"},
      {" \tREGEDIT4", 1, true, "header"},
      {"REGEDIT4 ", 1, true, not_registry},
      {"regedit4", 1, true, not_registry},
      {"[HKEY_CURRENT_USER\\x]", 1, true, not_registry},
      {"   ", 1, true, "ignored"},
      {"; REGEDIT4", 1, true, "ignored"},
      {"  ;\"a\"=hex:1", 7, true, "ignored"},
      // A removal reads no values.
      {"\"v\"=hex:01,02", 2, false, "ignored"},
      {"garbage", 2, false, "ignored"},
      {"garbage", 1, false, not_registry},
      // Keys name one of three roots, in imports and removals alike.
      {"[HKEY_CLASSES_ROOT\\CLSID\\{1}]", 2, true, "key HKCR\\CLSID\\{1}"},
      {"[HKEY_CURRENT_USER\\Software\\x] ; note", 2, false, "key HKCU\\Software\\x"},
      {"  [HKEY_LOCAL_MACHINE\\A]", 2, true, "key HKLM\\A"},
      {"[HKEY_CURRENT_USER\\a]b]", 2, false, "key HKCU\\a"},
      {"[HKEY_CLASSES_ROOT]", 2, false, bad_key},
      {"[HKEY_USERS\\x]", 2, true, bad_key},
      {"[hkey_classes_root\\x]", 2, true, bad_key},
      {"[HKEY_CURRENT_USER\\x", 2, false, bad_key},
      // Values: a text or a double word.
      {"\"ThreadingModel\"=\"Apartment\"   ", 3, true, "text ThreadingModel=Apartment"},
      {"@=\"ProcessDriver\"", 3, true, "text =ProcessDriver"},
      {"\"a\"=  \t\"b\" c \"d\"", 3, true, "text a=b"},
      {"\"p\"=\"C:\\dir\\\"", 3, true, "text p=C:\\dir\\"},
      {"\"\"=\"\"", 3, true, "text ="},
      {"\"v\"=DWORD:1F", 3, true, "dword v=31"},
      {"\"v\"=dword:0x10", 3, true, "dword v=16"},
      {"\"v\"=dword:-1", 3, true, "dword v=4294967295"},
      {"\"v\"=dword:+1f", 3, true, "dword v=31"},
      {"\"v\"=dword:12zz", 3, true, "dword v=18"},
      {"\"v\"=hex:01,02", 3, true, invalid},
      {"\"v\"=dword:", 3, true, invalid},
      {"\"v\"=dword:xyz", 3, true, invalid},
      {"\"v\"=5", 3, true, invalid},
      {"\"v=\"x\"", 3, true, invalid},
      {"\"v\"=\"x", 3, true, invalid},
  };
  for (const auto& r : rows) EXPECT_EQ(shown(parse_reg_line(r.line, r.number, r.values)), r.shown) << r.line;
}

}  // namespace
