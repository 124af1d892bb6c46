// Time text through tambre32.dll under Wine: a real file against the platform's own file
// time, and processes started with a German and an English user locale in the Berlin zone
// (see the ctest entries) against Wine's local time conversion; the separators of those
// locales are locale_dll_test's, the rules on top of them the core tests'.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "support/process_setting.h"
#include "support/temp_dir.h"
#include "support/without_tz.h"
#include "tambre32/timetext.h"
#include "win_file_time.h"

namespace {

// Wine's own conversion of a local wall-clock time of the process's zone.
tambre_time_t platform_local(WORD y, WORD m, WORD d, WORD hh, WORD mm = 0, WORD ss = 0) {
  SYSTEMTIME local{y, m, 0, d, hh, mm, ss, 0}, utc;
  EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  return static_cast<tambre_time_t>(tambre::test::seconds_of_systemtime(utc));
}

}  // namespace

TEST(TimeTextDll, FileTimeAgainstThePlatform) {
  tambre::test::temp_dir dir;
  std::string path = dir.file("log.txt");
  std::ofstream(path) << "entry";
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(static_cast<std::int64_t>(FileTime(path.c_str())), tambre::test::seconds_of_filetime(data.ftLastWriteTime));
  EXPECT_EQ(FileTime(dir.file("none.txt").c_str()), 0xFFFFFFFFu);
}

TEST(TimeTextGerman, StampsInTheUsersDateOrder) {
  TAMBRE_REQUIRE_PROCESS_SETTING("german");
  tambre::test::without_tz platform_zone;
  const tambre_time_t t = platform_local(2024, 3, 5, 8, 4, 9);
  EXPECT_EQ(ScanTimeStr("05.03.2024 08:04:09", 1), t);
  char buffer[128];
  EXPECT_STREQ(TimeStr(buffer, t, 123, 0xFF), "Di 05.03.2024 08:04:09.123");
}

TEST(TimeTextEnglish, StampsInTheUsersDateOrder) {
  TAMBRE_REQUIRE_PROCESS_SETTING("english");
  tambre::test::without_tz platform_zone;
  const tambre_time_t t = platform_local(2024, 3, 5, 8, 4, 9);
  EXPECT_EQ(ScanTimeStr("03/05/2024 08:04:09", 1), t);
  char buffer[128];
  EXPECT_STREQ(TimeStr(buffer, t, 0, 0x7E), "03/05/2024 08:04:09");
}
