// Driver configuration file names and mkpath on real files and directories.
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

// A small module loaded from <temp>\serial.drv.
class DriverModule : public ::testing::Test {
 protected:
  void SetUp() override {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::filesystem::copy_file(std::filesystem::path(program).parent_path() / "file_names_module.dll",
                               dir_.file("serial.drv"));
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

// Without a host first: a test asking the host lets the service cache fill.
TEST_F(DriverModule, ConfigFileBesideTheModuleOrTheHostsInstanceFile) {
  EXPECT_EQ(make_file_name(0), dir_.file("serial.cfg"));
  EXPECT_EQ(make_file_name(2), dir_.file("serial#2.cfg"));
  host_window_stand_in host("rpmodlessHost");
  host_window_stand_in::set_directory("D:\\Instanzen");
  touch("serial#3.cfg");
  EXPECT_EQ(make_file_name(3), dir_.file("serial#3.cfg"));
  EXPECT_EQ(host_window_stand_in::service_calls(), 0) << "the host is asked only for missing files";
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
  EXPECT_EQ(MakeFileName(module_, 0, nullptr), nullptr);
}

TEST_F(DriverModule, MakePathCreatesEveryLevelStaysInTheLastOrRefuses) {
  const std::filesystem::path saved = std::filesystem::current_path();
  const std::string target = dir_.file("a\\b\\c");
  EXPECT_EQ(mkpath(target.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(target));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(target));
  // Existing levels are entered again; a trailing separator and doubled ones are no level.
  EXPECT_EQ(mkpath((dir_.file("a\\\\b") + "\\d\\").c_str()), 0);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir_.file("a\\b\\d")));
  std::ofstream(dir_.file("file")) << "x";
  for (const std::string& path : {std::string("Q:\\x"), dir_.file("file") + "\\sub", std::string("C:nosuchdir"),
                                  "C:\\" + std::string(300, 'l')}) {
    EXPECT_EQ(mkpath(path.c_str()), -1) << path;
  }
  EXPECT_EQ(mkpath("C:"), 0) << "drive-relative: only checked";
  EXPECT_EQ(mkpath(nullptr), -1);
  std::filesystem::current_path(saved);
}

}  // namespace
