// Time, float and pattern text through tambre32.dll under Wine: the exported names, real
// files against the platform's own file times, and processes started with a German and an
// English user locale in the Berlin zone (see the ctest entries), against Wine's own
// local time conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "support/process_setting.h"
#include "support/temp_dir.h"
#include "support/without_tz.h"
#include "tambre32/floattext.h"
#include "tambre32/formatpattern.h"
#include "tambre32/periods.h"
#include "tambre32/timetext.h"
#include "win_file_time.h"

namespace {

using tambre::test::seconds_of_filetime;

// Wine's own conversion of a local wall-clock time of the process's zone.
tambre_time_t platform_local(int y, int m, int d, int hh, int mm, int ss) {
  SYSTEMTIME local{static_cast<WORD>(y),  static_cast<WORD>(m),  0, static_cast<WORD>(d), static_cast<WORD>(hh),
                   static_cast<WORD>(mm), static_cast<WORD>(ss), 0};
  SYSTEMTIME utc;
  EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  return static_cast<tambre_time_t>(tambre::test::seconds_of_systemtime(utc));
}

void set_file_time(const std::string& path, std::int64_t seconds) {
  FILETIME ft = tambre::test::filetime_of(seconds);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &ft));
  CloseHandle(file);
}

}  // namespace

TEST(TimeTextDll, FileTimeAgainstThePlatform) {
  tambre::test::temp_dir dir;
  std::string path = dir.file("log.txt");
  std::ofstream(path) << "entry";
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(static_cast<std::int64_t>(FileTime(path.c_str())), seconds_of_filetime(data.ftLastWriteTime));
  set_file_time(path, 4102444799LL);
  EXPECT_EQ(FileTime(path.c_str()), 4102444799u);
  set_file_time(path, -3600);
  EXPECT_EQ(FileTime(path.c_str()), 0xFFFFFFFFu) << "written before 1970";
  EXPECT_EQ(FileTime(dir.file("none.txt").c_str()), 0xFFFFFFFFu);
}

TEST(TimeTextDll, ExportedSurface) {
  char buffer[128];
  EXPECT_STREQ(FormatFloat(buffer, 0x0508, 0, 255.0, 0), "000000FF");
  char text[] = "&xff";
  int error = -1;
  EXPECT_EQ(ScanFloat(text, 0, &error), 255.0);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ScanFloat(text, 0, nullptr), 255.0) << "the error pointer may be null";
  EXPECT_STREQ(FormatStr(0x080C, 3), "E###.###");
  EXPECT_EQ(FormatStrLen(0x0C08, 0), 3);
  unsigned short flags = 0, decimals = 0;
  EXPECT_EQ(ScanFormat("hh:mm:ss.sss", &flags, &decimals, 0x0200), 1);
  EXPECT_EQ(flags, 0x0215);
  EXPECT_EQ(decimals, 3);
  EXPECT_STREQ(TastTmStr(buffer, -1, 93600.5), "1d 02:00:00.500");
  EXPECT_EQ(ScanTastTmStr("1d 02:00:00.5"), 93600.5);
  EXPECT_STREQ(TimeStr(buffer, 0xFFFFFFFFu, 0, 0x7E), "kein Wert");
  EXPECT_EQ(ScanHDATime("NOWX"), 0xFFFFFFFFu);
  EXPECT_EQ(tmFloor(1000, 60), 960u);
  EXPECT_EQ(tmCeil(1000, 60), 1020u);
  EXPECT_EQ(tmPeriodLength(1000, 0, 1), 0);
  EXPECT_EQ(tmv(27, 1000, nullptr), -1);
}

TEST(TimeTextGerman, StampsPeriodsAndDecimalComma) {
  TAMBRE_REQUIRE_PROCESS_SETTING("german");
  tambre::test::without_tz platform_zone;
  const tambre_time_t t = platform_local(2024, 3, 5, 8, 4, 9);
  EXPECT_EQ(ScanTimeStr("05.03.2024 08:04:09", 1), t);
  char buffer[128];
  EXPECT_STREQ(TimeStr(buffer, t, 123, 0xFF), "Di 05.03.2024 08:04:09.123");
  EXPECT_STREQ(FormatFloat(buffer, 0x067F, 0, t, 0), "Di 05.03.2024 08:04:09");
  int error = -1;
  EXPECT_EQ(ScanFloat(buffer, 0x0640, &error), static_cast<double>(t));
  EXPECT_EQ(error, 0);
  char comma[] = "3,5";
  EXPECT_EQ(ScanFloat(comma, 0, &error), 3.5);
  EXPECT_STREQ(comma, "3.5");
  // The Berlin zone of the platform: the spring Sunday has 23 hours.
  const tambre_time_t sunday = platform_local(2024, 3, 31, 0, 0, 0);
  EXPECT_EQ(tmFloor(platform_local(2024, 3, 31, 10, 0, 0), 86400), sunday);
  EXPECT_EQ(tmPeriodLength(sunday, 86400, 1), 82800);
  EXPECT_EQ(tmCeil(platform_local(2024, 3, 31, 10, 0, 0), 86400), platform_local(2024, 4, 1, 0, 0, 0));
  EXPECT_EQ(tmIsDaylightDay(sunday, nullptr), 1);
  EXPECT_EQ(tmIsDaylightDay(platform_local(2024, 10, 27, 12, 0, 0), nullptr), -1);
  EXPECT_EQ(tmv(17, t, nullptr), 3600);
}

TEST(TimeTextEnglish, MonthFirstAndDecimalPoint) {
  TAMBRE_REQUIRE_PROCESS_SETTING("english");
  tambre::test::without_tz platform_zone;
  const tambre_time_t t = platform_local(2024, 3, 5, 8, 4, 9);
  EXPECT_EQ(ScanTimeStr("03/05/2024 08:04:09", 1), t);
  EXPECT_EQ(ScanTimeStr("13/05/2024", 1), 0xFFFFFFFFu) << "month 13";
  char buffer[128];
  EXPECT_STREQ(TimeStr(buffer, t, 0, 0x7E), "03/05/2024 08:04:09");
  EXPECT_STREQ(TimeStr(buffer, t, 0, 0x30), "03/05/");
  char comma[] = "3,5";
  int error = -1;
  EXPECT_EQ(ScanFloat(comma, 0, &error), 3.0);
  EXPECT_EQ(error, 0);
}
