// The exported time family under Wine: exported names, TZ from the process environment,
// and the zone record Wine derives from the host's zone against Wine's own conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "civil_oracle.h"
#include "support/process_setting.h"
#include "support/without_tz.h"
#include "tambre32/timecore.h"
#include "tambre32/tmsmap.h"
#include "win_file_time.h"

namespace {

using tambre::test::seconds_of_systemtime;

// Our localtime equals Wine's SystemTimeToTzSpecificLocalTime for every hour of the years.
void expect_localtime_like_wine(WORD from_year, WORD to_year) {
  const SYSTEMTIME start{from_year, 1, 0, 1, 0, 0, 0, 0}, end{to_year, 1, 0, 1, 0, 0, 0, 0};
  for (std::int64_t t = seconds_of_systemtime(start); t < seconds_of_systemtime(end); t += 3600) {
    SYSTEMTIME utc = tambre::test::systemtime_of(t), wine;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &wine));
    tambre_time_t value = static_cast<tambre_time_t>(t);
    const struct tm* ours = _localtime(&value);
    ASSERT_NE(ours, nullptr);
    ASSERT_EQ((ours->tm_year + 1900) * 1000000 + (ours->tm_mon + 1) * 10000 + ours->tm_mday * 100 + ours->tm_hour,
              wine.wYear * 1000000 + wine.wMonth * 10000 + wine.wDay * 100 + wine.wHour)
        << t;
  }
}

}  // namespace

TEST(TimeExports, UnderscoredNamesOnly) {
  HMODULE dll = GetModuleHandleA("tambre32.dll");
  ASSERT_NE(dll, nullptr);
  for (const char* name : {"time", "gmtime", "localtime", "mktime", "_ftime", "tzset_", "tambre_time"}) {
    EXPECT_EQ(GetProcAddress(dll, name), nullptr) << name << " would shadow or leak";
  }
}

// TZ read from the process environment; set but empty keeps the zone.
TEST(TimeZoneWine, TzVariable) {
  SetEnvironmentVariableA("TZ", "CET-1CEST");
  _tzset_();
  EXPECT_EQ(*_gettimezone(), -3600);
  EXPECT_NE(*_getdaylight(), 0);
  SetEnvironmentVariableA("TZ", "");
  _tzset_();
  EXPECT_EQ(*_gettimezone(), -3600);
  SetEnvironmentVariableA("TZ", nullptr);
  _tzset_();
}

TEST(TimeZoneWine, RecordOfThePlatform) {
  tambre::test::without_tz plain;
  TIME_ZONE_INFORMATION info;
  ASSERT_NE(GetTimeZoneInformation(&info), TIME_ZONE_ID_INVALID);
  EXPECT_EQ(*_gettimezone(), info.Bias * 60 + (info.StandardDate.wMonth != 0 ? info.StandardBias * 60 : 0));
  EXPECT_EQ(*_getdaylight() != 0, info.DaylightDate.wMonth != 0 && info.DaylightBias != 0);
  expect_localtime_like_wine(2022, 2026);
  SYSTEMTIME now;
  GetSystemTime(&now);
  tambre_timeb tb{};
  __ftime(&tb);
  EXPECT_LE(static_cast<std::int64_t>(_time(nullptr)) - seconds_of_systemtime(now), 2);
  EXPECT_LE(tb.time - seconds_of_systemtime(now), 2);
  EXPECT_LT(tb.millitm, 1000);
}

// A process started with the host zone Europe/Berlin gets a Central European record.
TEST(TimeZoneBerlin, CentralEuropeanRecord) {
  TAMBRE_REQUIRE_PROCESS_SETTING("berlin");
  tambre::test::without_tz plain;
  EXPECT_EQ(*_gettimezone(), -3600);
  EXPECT_EQ(*_getdstbias(), -3600);
  expect_localtime_like_wine(2020, 2038);
  struct tm summer = tambre::test::tm_of(2024, 7, 1, 12, 0, 0, -1);
  EXPECT_EQ(_mktime(&summer), static_cast<tambre_time_t>(seconds_of_systemtime({2024, 7, 0, 1, 10, 0, 0, 0})));
  EXPECT_EQ(summer.tm_isdst, 1);
}

// Every member of the exported class through the DLL (on i686 this links each one
// against the import library); the values are the core tests'.
TEST(TmsmapExport, EveryMember) {
  SetEnvironmentVariableA("TZ", "GMT0");
  _tzset_();
  tmsmap a(tmsmap_long{86400}, short{250}), b(0.5), c(tmsmap_long{60}), d;
  d = a;
  EXPECT_EQ(static_cast<double>(d + b) + static_cast<double>(d - b), 2 * 86400.25);
  EXPECT_EQ(static_cast<double>(c * 2.0) + static_cast<double>(c * tmsmap_long{3}), 300.0);
  EXPECT_EQ(static_cast<double>(c / 2.0) + static_cast<double>(c / tmsmap_long{1000}), 90.0);
  EXPECT_EQ(tmsmap::conv(-1, 0) + !a + ~a, 86649.0);
  EXPECT_TRUE(b.lt(a) && a.gt(b) && a.ne(b) && a.eq(d));
  EXPECT_TRUE(d.addne(0, 0, 1, 0, 0) && d.subne(0, 0, 1, 0, 0) && d.floorne(tmsmap::fm_month));
  EXPECT_EQ(static_cast<double>(d), 0.0);
  EXPECT_EQ(d.daypermonth() + d.daypermonth(0), 62);
  SetEnvironmentVariableA("TZ", nullptr);
  _tzset_();
}
