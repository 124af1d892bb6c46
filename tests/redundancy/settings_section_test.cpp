// The section of a driver module's redundancy settings, from its file name and index.
#include <gtest/gtest.h>

#include <string>

#include "redundancy/settings_section.h"

namespace {

TEST(SettingsSection, FromModulePathAndIndex) {
  const std::string name63(63, 'n');
  struct row {
    const char* name;
    std::string path;
    short index;
    std::string section;
  };
  const row rows[] = {
      {"with index", "drv.dll", 2, "drv#2.Redundancy"},
      {"negative index as 0", "drv.dll", -3, "drv.Redundancy"},
      {"directory dropped", "C:\\Programme\\Ostrand\\drv.dll", 0, "drv.Redundancy"},
      {"forward slashes", "Z:/opt/x.y/drv.dll", 0, "drv.Redundancy"},
      {"cut at the first dot", "C:\\bin\\my.drv.v2.dll", 3, "my#3.Redundancy"},
      {"no extension", "C:\\bin\\DRIVER", 0, "DRIVER.Redundancy"},
      {"63 characters kept", "C:\\" + name63 + ".dll", 0, name63 + ".Redundancy"},
      {"64 characters left out", "C:\\" + name63 + "n.dll", 5, "#5.Redundancy"},
      {"empty path", "", 0, ".Redundancy"},
  };
  for (const row& r : rows) {
    EXPECT_EQ(tambre::redundancy::settings_section(r.path, r.index), r.section) << r.name;
  }
}

}  // namespace
