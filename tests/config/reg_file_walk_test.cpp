// The walk over a whole registry text: what reaches the store, in which order, and where
// an import stops or a removal goes on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/reg_file_walk.h"

namespace {

using tambre::config::kRegBadKey;
using tambre::config::kRegInvalidArg;
using tambre::config::kRegNotRegistryFile;
using tambre::config::kRegOk;
using tambre::config::reg_outcome;
using tambre::config::reg_root;
using tambre::config::run_reg_text;

constexpr std::int32_t kNoKeyOpen = 6;  // what the store answers without an open key
constexpr std::int32_t kDenied = 5;

// A keyed store in memory that writes down every call it gets.
class recording_store final : public tambre::config::reg_store {
 public:
  std::vector<std::string> calls;
  std::set<std::string> existing;              // keys present before a removal
  std::map<std::string, std::int32_t> refuse;  // key path -> code of a failing call

  std::int32_t open_key(reg_root root, const std::string& path) override {
    calls.push_back("open " + key(root, path));
    const auto r = refuse.find(path);
    if (r != refuse.end()) return r->second;
    open_ = true;
    return kRegOk;
  }
  void close_key() override {
    if (open_) calls.push_back("close");
    open_ = false;
  }
  std::int32_t set_text(const std::string& name, const std::string& text) override {
    calls.push_back("text " + name + "=" + text);
    return open_ ? kRegOk : kNoKeyOpen;
  }
  std::int32_t set_dword(const std::string& name, std::uint32_t value) override {
    calls.push_back("dword " + name + "=" + std::to_string(value));
    return open_ ? kRegOk : kNoKeyOpen;
  }
  bool key_exists(reg_root root, const std::string& path) override { return existing.count(key(root, path)) != 0; }
  std::int32_t delete_tree(reg_root root, const std::string& path) override {
    calls.push_back("delete " + key(root, path));
    const auto r = refuse.find(path);
    return r == refuse.end() ? kRegOk : r->second;
  }

 private:
  static std::string key(reg_root root, const std::string& path) {
    const char* names[] = {"HKCR", "HKCU", "HKLM"};
    return std::string(names[static_cast<int>(root)]) + "\\" + path;
  }
  bool open_ = false;
};

constexpr char kTemplate[] =
    "REGEDIT4\r\n"
    "\r\n"
    "; the server\r\n"
    "[HKEY_CLASSES_ROOT\\ProcessDriver.Server]\r\n"
    "@=\"ProcessDriver\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\T]\r\n"
    "\"Count\"=dword:1F\r\n"
    "\"Model\"=\"Apartment\"  \r\n";

TEST(RegWalk, ImportOpensEachKeyAndSetsItsValues) {
  recording_store store;
  const reg_outcome outcome = run_reg_text(kTemplate, store, false);
  EXPECT_EQ(outcome.code, kRegOk);
  EXPECT_EQ(store.calls,
            (std::vector<std::string>{"open HKCR\\ProcessDriver.Server", "text =ProcessDriver", "close",
                                      "open HKCU\\Software\\T", "dword Count=31", "text Model=Apartment", "close"}));
}

TEST(RegWalk, ImportStopsAtTheFirstBadLineKeepingWhatCameBefore) {
  struct row {
    const char* name;
    const char* text;
    std::int32_t code;
    int line;
    std::size_t calls;  // store calls made before the stop, the closing one included
  };
  const row rows[] = {
      {"hex value", "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"1\"\n\"y\"=hex:01,02\n\"z\"=\"2\"\n", kRegInvalidArg, 4,
       3},
      {"unknown root", "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n[HKEY_USERS\\x]\n[HKEY_CURRENT_USER\\b]\n", kRegBadKey, 3, 2},
      {"header with trailing blank", "REGEDIT4 \n[HKEY_CURRENT_USER\\a]\n", kRegNotRegistryFile, 1, 0},
      {"utf-16 text ends at its first zero", "\xFF\xFER", kRegNotRegistryFile, 1, 0},
      {"value before any key", "REGEDIT4\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\a]\n", kNoKeyOpen, 2, 1},
      {"line numbers count blanks and comments", "REGEDIT4\n\n;c\n  \n[HKEY_CLASSES_ROOT]\n", kRegBadKey, 5, 0},
  };
  const std::string long_text = "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"" + std::string(600, 'y') + "\"\n";
  const row long_line = {"a text cut at 511 characters loses its closing quote", long_text.c_str(), kRegInvalidArg, 3,
                         2};
  std::vector<row> all(std::begin(rows), std::end(rows));
  all.push_back(long_line);
  for (const row& r : all) {
    recording_store store;
    const reg_outcome outcome = run_reg_text(r.text, store, false);
    EXPECT_EQ(outcome.code, r.code) << r.name;
    EXPECT_EQ(outcome.line, r.line) << r.name;
    EXPECT_EQ(store.calls.size(), r.calls) << r.name;
  }
}

TEST(RegWalk, FailingKeyStopsWithTheStoresCode) {
  recording_store store;
  store.refuse["b"] = 1021;
  const reg_outcome outcome = run_reg_text(
      "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n[HKEY_CURRENT_USER\\b]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\c]\n", store, false);
  EXPECT_EQ(outcome.code, 1021);
  EXPECT_EQ(outcome.line, 3);
  EXPECT_EQ(store.calls, (std::vector<std::string>{"open HKCU\\a", "close", "open HKCU\\b"}));
}

TEST(RegWalk, WithoutHeaderLineOneOnlyABlankOrCommentPasses) {
  recording_store store;
  EXPECT_EQ(run_reg_text("; no header\n[HKEY_CURRENT_USER\\a]\n\"x\"=dword:2\n", store, false).code, kRegOk);
  EXPECT_EQ(store.calls, (std::vector<std::string>{"open HKCU\\a", "dword x=2", "close"}));
}

TEST(RegWalk, RemovalDeletesOnlyExistingKeysAndIgnoresValues) {
  recording_store store;
  store.existing = {"HKCU\\Software\\T"};
  const reg_outcome outcome = run_reg_text(kTemplate, store, true);
  EXPECT_EQ(outcome.code, kRegOk);
  EXPECT_EQ(store.calls, (std::vector<std::string>{"delete HKCU\\Software\\T"}));
}

TEST(RegWalk, RemovalGoesOnPastFailuresAndReturnsTheLastDeletion) {
  const char* text = "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:1\n[HKEY_CURRENT_USER\\b]\n[HKEY_CURRENT_USER\\c]\n";
  recording_store store;
  store.existing = {"HKCU\\a", "HKCU\\b", "HKCU\\c"};
  store.refuse["a"] = kDenied;
  EXPECT_EQ(run_reg_text(text, store, true).code, kRegOk) << "a later success wins";
  EXPECT_EQ(store.calls, (std::vector<std::string>{"delete HKCU\\a", "delete HKCU\\b", "delete HKCU\\c"}));

  recording_store failing_last;
  failing_last.existing = store.existing;
  failing_last.refuse["c"] = kDenied;
  const reg_outcome outcome = run_reg_text(text, failing_last, true);
  EXPECT_EQ(outcome.code, kDenied);
  EXPECT_EQ(outcome.line, 5);
}

TEST(RegWalk, RemovalStopsAtABadKeyLineButNeverDeletesARoot) {
  recording_store store;
  store.existing = {"HKCU\\a", "HKCU\\"};
  const reg_outcome bad = run_reg_text("REGEDIT4\n[HKEY_USERS\\a]\n[HKEY_CURRENT_USER\\a]\n", store, true);
  EXPECT_EQ(bad.code, kRegBadKey);
  EXPECT_EQ(bad.line, 2);
  EXPECT_TRUE(store.calls.empty());

  const reg_outcome root = run_reg_text("REGEDIT4\n[HKEY_CURRENT_USER\\]\n", store, true);
  EXPECT_EQ(root.code, kDenied);
  EXPECT_TRUE(store.calls.empty());
}

}  // namespace
