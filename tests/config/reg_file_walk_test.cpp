// The walk over a whole registry text: what reaches the store, in which order, where it stops.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/reg_file_walk.h"

namespace {

using namespace tambre::config;
using calls = std::vector<std::string>;

constexpr std::int32_t kNoKeyOpen = 6;  // what the store answers without an open key
constexpr std::int32_t kDenied = 5;

// A keyed store in memory that writes down every call it gets.
class recording_store final : public reg_store {
 public:
  calls made;
  std::set<std::string> existing;              // keys present before a removal
  std::map<std::string, std::int32_t> refuse;  // key path -> code of a failing call

  std::int32_t open_key(reg_root root, const std::string& path) override {
    made.push_back("open " + key(root, path));
    open_ = refused(path) == kRegOk;
    return refused(path);
  }
  void close_key() override {
    if (open_) made.push_back("close");
    open_ = false;
  }
  std::int32_t set_text(const std::string& name, const std::string& text) override {
    made.push_back("text " + name + "=" + text);
    return open_ ? kRegOk : kNoKeyOpen;
  }
  std::int32_t set_dword(const std::string& name, std::uint32_t value) override {
    made.push_back("dword " + name + "=" + std::to_string(value));
    return open_ ? kRegOk : kNoKeyOpen;
  }
  bool key_exists(reg_root root, const std::string& path) override { return existing.count(key(root, path)) != 0; }
  std::int32_t delete_tree(reg_root root, const std::string& path) override {
    made.push_back("delete " + key(root, path));
    return refused(path);
  }

 private:
  std::int32_t refused(const std::string& path) const {
    const auto r = refuse.find(path);
    return r == refuse.end() ? kRegOk : r->second;
  }
  static std::string key(reg_root root, const std::string& path) {
    const char* names[] = {"HKCR", "HKCU", "HKLM"};
    return std::string(names[static_cast<int>(root)]) + "\\" + path;
  }
  bool open_ = false;
};

// An import stops at the first failure keeping what came before; a removal deletes the keys
// that exist, goes on past failures, returns the last and never deletes a root.
TEST(RegWalk, WhatReachesTheStoreAndWhereItStops) {
  const std::string long_text = "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"" + std::string(600, 'y') + "\"\n";
  const char* removal =
      "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:1\n[HKEY_CURRENT_USER\\b]\n[HKEY_CURRENT_USER\\c]\n";
  const struct {
    std::string text;
    std::int32_t code;
    int line;
    calls made;
    bool remove = false;
    const char* refused = "b";
  } rows[] = {
      {"REGEDIT4\r\n\r\n; c\r\n[HKEY_CLASSES_ROOT\\P.S]\r\n@=\"PD\"\r\n[HKEY_CURRENT_USER\\T]\r\n\"C\"=dword:A0\r\n"
       "\"M\"=\"Apt\"  \r\n",
       kRegOk,
       0,
       {"open HKCR\\P.S", "text =PD", "close", "open HKCU\\T", "dword C=160", "text M=Apt", "close"}},
      {"; no header\n[HKEY_CURRENT_USER\\a]\n\"x\"=dword:2\n", kRegOk, 0, {"open HKCU\\a", "dword x=2", "close"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"1\"\n\"y\"=hex:01,02\n\"z\"=\"2\"\n",
       kRegInvalidArg,
       4,
       {"open HKCU\\a", "text x=1", "close"}},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n[HKEY_USERS\\x]\n[HKEY_CURRENT_USER\\b]\n",
       kRegBadKey,
       3,
       {"open HKCU\\a", "close"}},
      {"REGEDIT4 \n[HKEY_CURRENT_USER\\a]\n", kRegNotRegistryFile, 1, {}},
      {"\xFF\xFER", kRegNotRegistryFile, 1, {}},
      {"REGEDIT4\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\a]\n", kNoKeyOpen, 2, {"text x=1"}},
      {"REGEDIT4\n\n;c\n  \n[HKEY_CLASSES_ROOT]\n", kRegBadKey, 5, {}},
      {long_text, kRegInvalidArg, 3, {"open HKCU\\a", "close"}},  // the cut text loses its quote
      {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n[HKEY_CURRENT_USER\\b]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\c]\n",
       kDenied,
       3,
       {"open HKCU\\a", "close", "open HKCU\\b"}},
      {removal, kRegOk, 0, {"delete HKCU\\a", "delete HKCU\\c"}, true, "a"},
      {removal, kDenied, 5, {"delete HKCU\\a", "delete HKCU\\c"}, true, "c"},
      {"REGEDIT4\n[HKEY_USERS\\a]\n[HKEY_CURRENT_USER\\a]\n", kRegBadKey, 2, {}, true},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\]\n", kDenied, 2, {}, true},
  };
  for (const auto& r : rows) {
    recording_store store;
    store.existing = {"HKCU\\a", "HKCU\\c", "HKCU\\"};
    store.refuse[r.refused] = kDenied;
    const reg_outcome outcome = run_reg_text(r.text.c_str(), store, r.remove);
    EXPECT_EQ(outcome.code, r.code) << r.text;
    if (r.code != kRegOk) {
      EXPECT_EQ(outcome.line, r.line) << r.text;
    }
    EXPECT_EQ(store.made, r.made) << r.text;
  }
}

}  // namespace
