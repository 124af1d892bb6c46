// The exported time family through tambre32.dll under Wine: exported names, the TZ path,
// and the zone record Wine derives from the host's zone, against Wine's own conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "support/process_setting.h"
#include "support/without_tz.h"
#include "tambre32/timecore.h"
#include "tambre32/tmsmap.h"
#include "win_file_time.h"

namespace {

using tambre::test::seconds_of_systemtime;
using tambre::test::systemtime_of;

// Without TZ the zone comes from the platform's record.
using tambre::test::without_tz;

// Our localtime equals Wine's SystemTimeToTzSpecificLocalTime for every hour of the years.
void expect_localtime_like_wine(int from_year, int to_year) {
  SYSTEMTIME start{static_cast<WORD>(from_year), 1, 0, 1, 0, 0, 0, 0};
  SYSTEMTIME end{static_cast<WORD>(to_year), 1, 0, 1, 0, 0, 0, 0};
  for (std::int64_t t = seconds_of_systemtime(start); t < seconds_of_systemtime(end); t += 3600) {
    SYSTEMTIME utc = systemtime_of(t), wine;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &wine));
    tambre_time_t value = static_cast<tambre_time_t>(t);
    const struct tm* ours = _localtime(&value);
    ASSERT_NE(ours, nullptr);
    ASSERT_EQ(ours->tm_year + 1900, wine.wYear) << t;
    ASSERT_EQ(ours->tm_mon + 1, wine.wMonth) << t;
    ASSERT_EQ(ours->tm_mday, wine.wDay) << t;
    ASSERT_EQ(ours->tm_hour, wine.wHour) << t;
    ASSERT_EQ(ours->tm_wday, wine.wDayOfWeek) << t;
  }
}

}  // namespace

TEST(TimeExports, UnderscoredNamesOnly) {
  HMODULE dll = GetModuleHandleA("tambre32.dll");
  ASSERT_NE(dll, nullptr);
  for (const char* name :
       {"_tzset_", "_time", "_gmtime", "_localtime", "_asctime", "_ctime", "_mktime", "_mktimegm", "__ftime",
        "_gettimezone", "_getdstbias", "_getdaylight", "lcWeekOfYear", "lcLeapYear", "lcDaysOfMon"}) {
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  }
  for (const char* name : {"time", "gmtime", "localtime", "mktime", "_ftime", "tzset_", "tambre_time"}) {
    EXPECT_EQ(GetProcAddress(dll, name), nullptr) << name << " would shadow or leak";
  }
}

// TZ read from the process environment; the TZ rules are the core tests'.
TEST(TimeZoneWine, TzVariableCentralEurope) {
  SetEnvironmentVariableA("TZ", "CET-1CEST");
  _tzset_();
  EXPECT_EQ(*_gettimezone(), -3600);
  EXPECT_NE(*_getdaylight(), 0);
  tambre_timeb tb{};
  __ftime(&tb);
  EXPECT_EQ(tb.timezone, -60);
  EXPECT_EQ(tb.dstflag, -1);
  SetEnvironmentVariableA("TZ", nullptr);
  _tzset_();
}

TEST(TimeZoneWine, EmptyTzKeepsTheZone) {
  SetEnvironmentVariableA("TZ", "EST5EDT");
  _tzset_();
  ASSERT_EQ(*_gettimezone(), 18000);
  SetEnvironmentVariableA("TZ", "");
  _tzset_();
  EXPECT_EQ(*_gettimezone(), 18000) << "set but empty is not the same as unset";
  SetEnvironmentVariableA("TZ", nullptr);
  _tzset_();
}

TEST(TimeZoneWine, RecordOfThePlatform) {
  without_tz plain;
  TIME_ZONE_INFORMATION info;
  ASSERT_NE(GetTimeZoneInformation(&info), TIME_ZONE_ID_INVALID);
  int offset = info.Bias * 60 + (info.StandardDate.wMonth != 0 ? info.StandardBias * 60 : 0);
  EXPECT_EQ(*_gettimezone(), offset);
  bool daylight = info.DaylightDate.wMonth != 0 && info.DaylightBias != 0;
  EXPECT_EQ(*_getdaylight() != 0, daylight);
  expect_localtime_like_wine(2022, 2026);
  // The current time agrees with the platform's UTC clock.
  SYSTEMTIME now;
  GetSystemTime(&now);
  std::int64_t diff = static_cast<std::int64_t>(_time(nullptr)) - seconds_of_systemtime(now);
  EXPECT_LE(diff < 0 ? -diff : diff, 2);
  tambre_timeb tb{};
  __ftime(&tb);
  EXPECT_LE(tb.time - static_cast<std::int64_t>(seconds_of_systemtime(now)), 2);
  EXPECT_LT(tb.millitm, 1000);
}

// A process started with the host zone Europe/Berlin: Wine gives it a Central European
// record, and our conversions follow it like Wine's own.
TEST(TimeZoneBerlin, CentralEuropeanRecord) {
  TAMBRE_REQUIRE_PROCESS_SETTING("berlin");
  without_tz plain;
  EXPECT_EQ(*_gettimezone(), -3600);
  EXPECT_EQ(*_getdaylight(), 1);
  EXPECT_EQ(*_getdstbias(), -3600);
  expect_localtime_like_wine(2020, 2038);
  // mktime gives the hour back on both sides of the changes.
  struct tm summer {};
  summer.tm_year = 124;
  summer.tm_mon = 6;
  summer.tm_mday = 1;
  summer.tm_hour = 12;
  summer.tm_isdst = -1;
  EXPECT_EQ(_mktime(&summer), static_cast<tambre_time_t>(seconds_of_systemtime({2024, 7, 0, 1, 10, 0, 0, 0})));
  EXPECT_EQ(summer.tm_isdst, 1);
}

// Every member of the exported class through the DLL (on i686 this links each one
// against the import library).
TEST(TmsmapExport, EveryMember) {
  SetEnvironmentVariableA("TZ", "GMT0");
  _tzset_();
  tmsmap a(tmsmap_long{86400}, short{250}), b(0.5), c(tmsmap_long{60}), d;
  d = a;
  EXPECT_EQ(tmsmap::conv(-1, 0), -1.0);
  EXPECT_EQ(static_cast<double>(d + b), 86401.25 - 0.5);
  EXPECT_EQ(static_cast<double>(d - b), 86399.75);
  EXPECT_EQ(static_cast<double>(c * 2.0), 120.0);
  EXPECT_EQ(static_cast<double>(c * tmsmap_long{3}), 180.0);
  EXPECT_EQ(static_cast<double>(c / 2.0), 30.0);
  EXPECT_EQ(static_cast<double>(c / tmsmap_long{1000}), 60.0);
  EXPECT_EQ(!a, 86400);
  EXPECT_EQ(~a, 250);
  EXPECT_TRUE(b.lt(a) && a.gt(b) && a.ne(b) && a.eq(d));
  EXPECT_TRUE(d.addne(0, 0, 1, 0, 0));
  EXPECT_EQ(static_cast<double>(d), 86400.0 * 32 + 0.25);
  EXPECT_TRUE(d.subne(0, 0, 1, 0, 0));
  EXPECT_TRUE(d.floorne(tmsmap::fm_month));
  EXPECT_EQ(static_cast<double>(d), 0.0);
  d = 86400.0 * 40;
  EXPECT_EQ(d.daypermonth(), 28);
  EXPECT_EQ(d.daypermonth(0), 31);
  SetEnvironmentVariableA("TZ", nullptr);
  _tzset_();
}
