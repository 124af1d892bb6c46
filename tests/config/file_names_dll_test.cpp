// Driver file names, window titles, directory macros and mkpath on real files and windows;
// the driver is a small module copied to a ".drv" name and loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/host_window_stand_in.h"
#include "support/temp_dir.h"
#include "tambre32/filenames.h"

namespace {

using tambre::test::host_window_stand_in;

std::string module_directory(HMODULE module) {
  char path[MAX_PATH];
  GetModuleFileNameA(module, path, MAX_PATH);
  std::string text(path);
  return text.substr(0, text.rfind('\\'));
}

// A small module loaded from <temp>\serial.drv.
class DriverModule : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(module_directory(nullptr) + "\\file_names_module.dll", dir_.file("serial.drv"));
    module_ = LoadLibraryA(dir_.file("serial.drv").c_str());
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  std::string make_file_name(short index) {
    char path[261] = "";
    EXPECT_EQ(MakeFileName(module_, index, path), path);
    return path;
  }
  void touch(const char* name) { std::ofstream(dir_.file(name)) << "x"; }

  tambre::test::temp_dir dir_;
  HMODULE module_ = nullptr;
};

// Runs before any test below lets the service cache fill.
TEST_F(DriverModule, ConfigFileBesideTheModuleWithoutAHost) {
  EXPECT_EQ(make_file_name(0), dir_.file("serial.cfg"));
  EXPECT_EQ(make_file_name(2), dir_.file("serial#2.cfg"));
}

TEST_F(DriverModule, InstanceFilesAskTheHostOnlyWhenTheyAreMissing) {
  host_window_stand_in host("rpmodlessHost");
  host_window_stand_in::set_directory("D:\\Instanzen");
  EXPECT_EQ(make_file_name(0), dir_.file("serial.cfg"));
  touch("serial#3.cfg");
  EXPECT_EQ(make_file_name(3), dir_.file("serial#3.cfg"));
  EXPECT_EQ(host.asked(), 0);
  EXPECT_EQ(host_window_stand_in::service_calls(), 0);

  EXPECT_EQ(make_file_name(2), "D:\\Instanzen\\serial.cfg");
  EXPECT_EQ(host_window_stand_in::last_code(), 45u);
  EXPECT_EQ(host_window_stand_in::last_argument(), 2u);
  // A file that may not be written is no instance file of its own.
  touch("serial#4.cfg");
  SetFileAttributesA(dir_.file("serial#4.cfg").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(make_file_name(4), "D:\\Instanzen\\serial.cfg");
  SetFileAttributesA(dir_.file("serial#4.cfg").c_str(), FILE_ATTRIBUTE_NORMAL);

  host_window_stand_in::set_directory("D:\\Instanzen", false);
  EXPECT_EQ(make_file_name(2), dir_.file("serial#2.cfg"));
  host_window_stand_in::set_directory("", true);
  EXPECT_EQ(make_file_name(2), dir_.file("serial#2.cfg"));
}

TEST_F(DriverModule, BadArgumentsAndCheckDriverFile) {
  EXPECT_EQ(MakeFileName(module_, 0, nullptr), nullptr);
  EXPECT_EQ(CheckDriverFile(module_, nullptr), 0);
  EXPECT_EQ(CheckDriverFile(module_, "SERIAL.DRV"), 1);
  EXPECT_EQ(CheckDriverFile(module_, "serial.dll"), 0);
  EXPECT_EQ(MakeDrvWindowName(module_, nullptr, TRUE), FALSE);
}

TEST_F(DriverModule, WindowTitleStartsWithTheDriverName) {
  HWND window = CreateWindowExA(0, "STATIC", "Messwerte", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  char title[128];
  EXPECT_NE(MakeDrvWindowName(module_, window, TRUE), FALSE);
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "serial Messwerte");
  EXPECT_NE(MakeDrvWindowName(module_, window, FALSE), FALSE);
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "serialserial Messwerte");
  SetWindowTextA(window, "");
  EXPECT_EQ(MakeDrvWindowName(module_, window, TRUE), FALSE);
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "");
  DestroyWindow(window);
}

TEST(AppDirMacros, ExecutableDirectoryRoundTrip) {
  const std::string below = module_directory(nullptr) + "\\bin\\x.dll";
  char reduced[261], expanded[261];
  EXPECT_STREQ(ReduceAppDir(reduced, below.c_str(), nullptr), "$INSTALL\\bin\\x.dll");
  EXPECT_STREQ(ExpandAppDir(expanded, reduced, nullptr), below.c_str());
  EXPECT_EQ(ReduceAppDir(nullptr, below.c_str(), nullptr), nullptr);
}

// Keeps and restores the process's current directory.
class MakePath : public ::testing::Test {
 protected:
  void SetUp() override { GetCurrentDirectoryA(MAX_PATH, saved_); }
  void TearDown() override { SetCurrentDirectoryA(saved_); }
  static std::string current() {
    char path[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
  }
  char saved_[MAX_PATH] = "";
  tambre::test::temp_dir dir_;
};

TEST_F(MakePath, CreatesEveryLevelAndStaysInTheLast) {
  const std::string target = dir_.file("a\\b\\c");
  EXPECT_EQ(mkpath(target.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(target));
  EXPECT_EQ(std::filesystem::path(current()), std::filesystem::path(target));
  // Existing levels are entered again; a trailing separator and doubled ones are no level.
  EXPECT_EQ(mkpath((dir_.file("a\\\\b") + "\\d\\").c_str()), 0);
  EXPECT_EQ(std::filesystem::path(current()), std::filesystem::path(dir_.file("a\\b\\d")));
}

TEST_F(MakePath, RefusedPaths) {
  std::ofstream(dir_.file("file")) << "x";
  const struct {
    std::string path;
    int result;
  } rows[] = {
      {"Q:\\x", -1},  // no such drive
      {"\\\\nosuchserver\\share", -1},
      {dir_.file("file") + "\\sub", -1},  // a file where a directory should be
      {"C:", 0},                          // drive-relative: only checked
      {"C:nosuchdir", -1},
  };
  for (const auto& row : rows) EXPECT_EQ(mkpath(row.path.c_str()), row.result) << row.path;
  EXPECT_EQ(mkpath(nullptr), -1);
  EXPECT_EQ(mkpath(("C:\\" + std::string(300, 'l')).c_str()), -1);
}

}  // namespace
