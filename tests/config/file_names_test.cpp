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

TEST(DriverModuleName, ComparedWithoutDrvAndCase) {
  const struct {
    const char* module;
    const char* name;
    bool same;
  } rows[] = {
      {"C:\\Drv\\serial.drv", "SERIAL.DRV", true},     {"C:\\Drv\\serial.drv", "serial.dll", false},
      {"C:\\Drv\\serial.drv", "serial.drv.bak", true}, {"C:\\Drv\\serial.drv", "C:\\Drv\\serial.drv", false},
      {"C:\\Drv\\serial.drv", nullptr, false},
  };
  for (const auto& row : rows) EXPECT_EQ(names_driver_module(row.module, row.name), row.same) << row.name;
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
    const char* path;
    const char* project;
    const char* reduced;
  } reduce_rows[] = {
      {"C:\\Proj\\data\\a.txt", "C:\\Proj\\", "$PROJECT\\data\\a.txt"},
      {"c:\\PROJ\\data\\a.txt", "C:\\Proj", "$PROJECT\\data\\a.txt"},
      {"C:\\Projekt2\\x", "C:\\Projekt", "$PROJECT2\\x"},
      {"C:\\Programme\\Ostrand\\bin\\x.dll", "C:\\Proj", "$INSTALL\\bin\\x.dll"},
      {"C:\\Programme\\Ostrand\\bin\\x.dll", "", "$INSTALL\\bin\\x.dll"},
      {"D:\\elsewhere\\x", "C:\\Proj", "D:\\elsewhere\\x"},
      {nullptr, "C:\\Proj", ""},
  };
  for (const auto& row : reduce_rows) EXPECT_EQ(reduced(row.path, row.project), row.reduced) << row.path;

  const struct {
    const char* path;
    const char* project;
    const char* expanded;
  } expand_rows[] = {
      {"$PROJECT\\data\\a.txt", "C:\\Proj\\", "C:\\Proj\\data\\a.txt"},
      {"$PROJECT", "C:\\Proj", "C:\\Proj\\"},
      {"$PROJECT\\x", nullptr, "C:\\temp"},
      {"$PROJECT\\x", "", "\\x"},
      {"$INSTALL\\bin\\x.dll", "C:\\Proj", "C:\\Programme\\Ostrand\\bin\\x.dll"},
      {"$Install", nullptr, "C:\\Programme\\Ostrand"},
      {"$INSTAL\\x", nullptr, "$INSTAL\\x"},
  };
  for (const auto& row : expand_rows) EXPECT_EQ(expanded(row.path, row.project), row.expanded) << row.path;
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

TEST(PathForms, UncPathsAndExtensions) {
  const struct {
    const char* path;
    bool unc;
  } unc_rows[] = {{"\\\\srv\\", false}, {"\\\\srv\\s", true}, {"\\srv\\s", false}, {"", false}, {nullptr, false}};
  for (const auto& row : unc_rows) EXPECT_EQ(is_unc_path(row.path), row.unc) << (row.path ? row.path : "null");

  const struct {
    const char* path;
    const char* extension;
    bool has;
  } extension_rows[] = {
      {"data.CSV", "csv", true},   {"data.csv", ".CSV", true},   {"csv", "csv", false},
      {".csv", "csv", true},       {"datacsv", "csv", false},    {"a.tar.gz", "tar.gz", true},
      {"data.csvx", "csv", false}, {"data.csv", nullptr, false}, {nullptr, "csv", false},
  };
  for (const auto& row : extension_rows)
    EXPECT_EQ(has_extension(row.path, row.extension), row.has)
        << (row.path ? row.path : "null") << " " << (row.extension ? row.extension : "null");
}

}  // namespace
