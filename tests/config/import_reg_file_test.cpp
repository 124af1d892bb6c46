// Registry files and "REGFILE" resources imported into and removed from the prefix's registry;
// the rules of the lines themselves are the native walk's.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "config/registry_oracle.h"
#include "support/box_catcher.h"
#include "support/temp_dir.h"
#include "tambre32/frame.h"
#include "tambre32/regfile.h"

namespace {

using config_test::inspect_key;
using config_test::read_raw;
using tambre::test::box_catcher;
using tambre::test::box_icon;

constexpr LONG kInvalidArg = static_cast<LONG>(0x80070057u);
constexpr char kServerKey[] = "TambreRegTest.Server";
constexpr char kUserKey[] = "Software\\TambreRegTest\\Resource";
constexpr char kTestRoot[] = "Software\\TambreRegTest";

HMODULE self() { return GetModuleHandleA(nullptr); }

// The template's keys gone before and after each test.
class ImportRegFileTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    config_test::delete_tree(HKEY_CLASSES_ROOT, kServerKey);
    config_test::delete_tree(HKEY_CURRENT_USER, kTestRoot);
    config_test::delete_tree(HKEY_LOCAL_MACHINE, kTestRoot);
  }
  // Writes `text` byte for byte into a file of the temporary directory.
  std::string file_with(const std::string& text) {
    std::ofstream(dir_.file("test.reg"), std::ios::binary) << text;
    return dir_.file("test.reg");
  }
  tambre::test::temp_dir dir_;
};

// The message the import shows, built from the library's own format and error text.
std::string expected_message(const std::string& file, int line, LONG code) {
  char reason[512];
  GetSysError(reason, sizeof reason, static_cast<DWORD>(code));
  char text[1024];
  std::snprintf(text, sizeof text,
                "Beim Importieren oder Setzen der Registrierungsdaten aus Datei '%s' sind Fehler aufgtreten:\n\n"
                "Zeile: %i\nFehler: %i \"%s\".",
                file.c_str(), line, static_cast<int>(code), reason);
  return text;
}

void expect_template_imported() {
  EXPECT_EQ(read_raw(HKEY_CLASSES_ROOT, kServerKey, nullptr).text(), std::string("Tambre registry test", 21));
  EXPECT_EQ(read_raw(HKEY_CURRENT_USER, kUserKey, "Count").dword(), 31u);
  EXPECT_EQ(read_raw(HKEY_LOCAL_MACHINE, kUserKey, "Path").text(), std::string("C:\\dir\\", 8))
      << "a backslash is an ordinary character";
}

TEST_F(ImportRegFileTest, ImportAgainAndRemoveAResource) {
  for (const char* name : {"REGTEST", static_cast<const char*>(MAKEINTRESOURCEA(101))}) {
    EXPECT_EQ(ImportRegFile(self(), name, 0, 0), 0);
    expect_template_imported();
    const DWORD changed = 5;
    config_test::write_raw(HKEY_CURRENT_USER, kUserKey, "Count", REG_DWORD, &changed, sizeof changed);
    config_test::write_raw(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Extra", "Own", REG_SZ, "x", 2);
    EXPECT_EQ(ImportRegFile(self(), name, 0, 0), 0);
    expect_template_imported();
    EXPECT_TRUE(read_raw(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Extra", "Own").found);
    EXPECT_EQ(ImportRegFile(self(), name, 0, 1), 0);
    EXPECT_FALSE(inspect_key(HKEY_CLASSES_ROOT, kServerKey).exists);
    EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, kUserKey).exists) << "removed with its sub-keys";
    EXPECT_FALSE(inspect_key(HKEY_LOCAL_MACHINE, kUserKey).exists);
    EXPECT_TRUE(inspect_key(HKEY_CURRENT_USER, kTestRoot).exists) << "a parent the file does not name stays";
    EXPECT_EQ(ImportRegFile(self(), name, 0, 1), 0) << "keys already gone are passed over";
  }
}

TEST_F(ImportRegFileTest, FailureIsShownWithFileLineAndCodeOtherFilesGiveTheirCodes) {
  const std::string broken = file_with(
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\TambreRegTest\\Broken]\r\n\"Before\"=\"1\"\r\n"
      "\"Bad\"=hex:01,02\r\n\"After\"=\"2\"\r\n[HKEY_CURRENT_USER\\Software\\TambreRegTest\\BrokenAfter]\r\n");
  box_catcher catcher(IDOK);
  EXPECT_EQ(ImportRegFile(nullptr, broken.c_str(), 1, 0), kInvalidArg);
  const auto box = catcher.wait();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, expected_message(broken, 4, kInvalidArg));
  EXPECT_EQ(box.icon, box_icon::exclamation);
  EXPECT_TRUE(read_raw(HKEY_CURRENT_USER, "Software\\TambreRegTest\\Broken", "Before").found);
  EXPECT_FALSE(read_raw(HKEY_CURRENT_USER, "Software\\TambreRegTest\\Broken", "After").found);
  EXPECT_FALSE(inspect_key(HKEY_CURRENT_USER, "Software\\TambreRegTest\\BrokenAfter").exists);

  EXPECT_EQ(ImportRegFile(nullptr, file_with("").c_str(), 0, 0), ERROR_SUCCESS);
  EXPECT_EQ(ImportRegFile(nullptr, nullptr, 0, 0), ERROR_OPEN_FAILED);
  EXPECT_EQ(ImportRegFile(self(), "NOSUCHFILE", 0, 0), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ImportRegFile(self(), nullptr, 0, 0), ERROR_FILE_NOT_FOUND);
}

}  // namespace
