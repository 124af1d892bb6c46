// Configuration file names, window titles and the directory macros as path logic.
#include <gtest/gtest.h>

#include <string>

#include "config/file_names.h"

namespace {

using namespace tambre::config;

std::string config_name(const char* module, short index) {
  char out[path_size];
  config_file_name(module, index, out);
  return out;
}

TEST(ConfigFileName, ReplacesFromTheLastDot) {
  const struct {
    const char* module;
    short index;
    const char* expected;
  } rows[] = {
      {"C:\\Drv\\serial.drv", 0, "C:\\Drv\\serial.cfg"},
      {"C:\\Drv\\serial.drv", 32767, "C:\\Drv\\serial#32767.cfg"},
      {"C:\\Drv\\a.b.drv", 0, "C:\\Drv\\a.b.cfg"},
      {"C:\\my.dir\\serial", 0, "C:\\my.cfg"},
      {"C:\\Drv\\serial", 3, "#3.cfg"},
      {nullptr, 0, ".cfg"},
  };
  for (const auto& row : rows) EXPECT_EQ(config_name(row.module, row.index), row.expected) << row.module;
}

TEST(ConfigFileName, CutToTheBufferInstanceFileAndWindowTitle) {
  const std::string module = "C:\\" + std::string(250, 'd') + "\\serial.drv";
  EXPECT_EQ(config_name(module.c_str(), 12),
            module.substr(0, module.rfind('.')).append("#12.cfg").substr(0, path_size - 1));
  char out[path_size];
  instance_file_name("D:\\Inst", "C:\\Drv\\serial#2.cfg", out);
  EXPECT_STREQ(out, "D:\\Inst\\serial.cfg");
  instance_file_name(std::string(300, 'x').c_str(), "C:\\serial#2.cfg", out);
  EXPECT_EQ(std::string(out), std::string(260, 'x'));
  driver_window_title("C:\\Drv\\serial.drv", true, "Messwerte", out, sizeof out);
  EXPECT_STREQ(out, "serial Messwerte");
  driver_window_title("serial.x.drv", false, "Messwerte", out, sizeof out);
  EXPECT_STREQ(out, "serial.xMesswerte");
  driver_window_title("C:\\Drv\\serial.drv", true, "Messwerte", out, 8);
  EXPECT_STREQ(out, "serial ");
}

const char kInstall[] = "C:\\Programme\\Ostrand";

std::string reduced(const char* path, const char* project) {
  char out[path_size];
  reduce_app_dir(path, project, kInstall, out);
  return out;
}
std::string expanded(const char* path, const char* project) {
  char out[path_size];
  expand_app_dir(path, project, kInstall, out);
  return out;
}

TEST(AppDirMacros, ReduceAndExpand) {
  const struct {
    std::string (*change)(const char*, const char*);
    const char *path, *project, *expected;
  } rows[] = {
      {reduced, "C:\\Proj\\data\\a.txt", "C:\\Proj\\", "$PROJECT\\data\\a.txt"},
      {reduced, "c:\\PROJ\\data\\a.txt", "C:\\Proj", "$PROJECT\\data\\a.txt"},
      {reduced, "C:\\Projekt2\\x", "C:\\Projekt", "$PROJECT2\\x"},
      {reduced, "C:\\Programme\\Ostrand\\bin\\x.dll", "C:\\Proj", "$INSTALL\\bin\\x.dll"},
      {reduced, "C:\\Programme\\Ostrand\\bin\\x.dll", "", "$INSTALL\\bin\\x.dll"},
      {reduced, "D:\\elsewhere\\x", "C:\\Proj", "D:\\elsewhere\\x"},
      {reduced, nullptr, "C:\\Proj", ""},
      {expanded, "$PROJECT\\data\\a.txt", "C:\\Proj\\", "C:\\Proj\\data\\a.txt"},
      {expanded, "$PROJECT", "C:\\Proj", "C:\\Proj\\"},
      {expanded, "$PROJECT\\x", nullptr, "C:\\temp"},
      {expanded, "$PROJECT\\x", "", "\\x"},
      {expanded, "$INSTALL\\bin\\x.dll", "C:\\Proj", "C:\\Programme\\Ostrand\\bin\\x.dll"},
      {expanded, "$Install", nullptr, "C:\\Programme\\Ostrand"},
      {expanded, "$INSTAL\\x", nullptr, "$INSTAL\\x"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.change(row.path, row.project), row.expected) << row.path;
}

TEST(AppDirMacros, OutputMayBeThePathAndIsCut) {
  char buffer[path_size] = "C:\\Proj\\data\\a.txt";
  reduce_app_dir(buffer, "C:\\Proj", kInstall, buffer);
  EXPECT_STREQ(buffer, "$PROJECT\\data\\a.txt");
  expand_app_dir(buffer, "C:\\Proj", kInstall, buffer);
  EXPECT_STREQ(buffer, "C:\\Proj\\data\\a.txt");

  const std::string long_tail = "$PROJECT\\" + std::string(300, 'f');
  EXPECT_EQ(expanded(long_tail.c_str(), "C:\\Proj"), ("C:\\Proj\\" + std::string(300, 'f')).substr(0, 260));
  const std::string long_path = "C:\\Proj\\" + std::string(300, 'f');
  EXPECT_EQ(reduced(long_path.c_str(), "C:\\Proj"), ("$PROJECT\\" + std::string(300, 'f')).substr(0, 260));
}

bool unc(const char* path, const char*) { return is_unc_path(path); }

TEST(PathForms, DriverModuleNamesUncPathsAndExtensions) {
  const struct {
    bool (*test)(const char*, const char*);
    const char *path, *other;
    bool yes;
  } rows[] = {
      // A module compared without ".drv" and case.
      {names_driver_module, "C:\\Drv\\serial.drv", "SERIAL.DRV", true},
      {names_driver_module, "C:\\Drv\\serial.drv", "serial.dll", false},
      {names_driver_module, "C:\\Drv\\serial.drv", "serial.drv.bak", true},
      {names_driver_module, "C:\\Drv\\serial.drv", "C:\\Drv\\serial.drv", false},
      {names_driver_module, "C:\\Drv\\serial.drv", nullptr, false},
      {unc, "\\\\srv\\", nullptr, false},
      {unc, "\\\\srv\\s", nullptr, true},
      {unc, "\\srv\\s", nullptr, false},
      {unc, "", nullptr, false},
      {unc, nullptr, nullptr, false},
      {has_extension, "data.CSV", "csv", true},
      {has_extension, "data.csv", ".CSV", true},
      {has_extension, "csv", "csv", false},
      {has_extension, ".csv", "csv", true},
      {has_extension, "datacsv", "csv", false},
      {has_extension, "a.tar.gz", "tar.gz", true},
      {has_extension, "data.csvx", "csv", false},
      {has_extension, "data.csv", nullptr, false},
      {has_extension, nullptr, "csv", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.test(row.path, row.other), row.yes)
        << (row.path ? row.path : "null") << " " << (row.other ? row.other : "null");
}

}  // namespace
