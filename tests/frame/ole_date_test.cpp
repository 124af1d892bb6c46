// OLE dates through the DLL against Wine's own SystemTimeToVariantTime on the library's
// local fields.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "tambre32/automation.h"
#include "tambre32/timecore.h"

namespace {

constexpr DWORD kNoTime = 0xFFFFFFFFu;    // the no-time value
constexpr DWORD kLastTime = 0xF48656FFu;  // 2099-12-31 23:59:59 UTC
constexpr double kSecond = 1.0 / 86400.0;

// A zone from TZ and one bound use of OLEAUT32 for the test's duration.
class OleDate : public ::testing::Test {
 protected:
  void use_zone(const char* tz) {
    SetEnvironmentVariableA("TZ", tz);
    _tzset_();
  }
  void SetUp() override {
    ASSERT_TRUE(OleInit());
    use_zone("GMT0");
  }
  void TearDown() override {
    OleReinit();
    SetEnvironmentVariableA("TZ", nullptr);
    _tzset_();
  }
};

TEST_F(OleDate, FailureResultsAndNoneBeforeOleInitOrAfterTheLastReinit) {
  EXPECT_EQ(Time_tToDate(946684800), 36526.0);
  for (int i = 0; i < 8; ++i) OleReinit();  // whatever ran before: the count is 0 now
  EXPECT_EQ(Time_tToDate(946684800), 0.0);
  EXPECT_EQ(DateToTime_t(36526.0), kNoTime);
  ASSERT_TRUE(OleInit());
  EXPECT_EQ(DateToTime_t(36526.0), 946684800u);
  EXPECT_EQ(Time_tToDate(kNoTime), 0.0);
  EXPECT_EQ(Time_tToDate(kLastTime + 1), 0.0) << "beyond the calendar's range";
  EXPECT_EQ(DateToTime_t(25568.5), kNoTime) << "before 1970 in UTC";
  EXPECT_EQ(DateToTime_t(73051.0), kNoTime) << "2100-01-01 is past the range";
  EXPECT_EQ(DateToTime_t(-1.0e9), kNoTime) << "no system time for that date";
  EXPECT_EQ(DateToTime_t(1.0e9), kNoTime);
  // Fractions of a second round to the nearest second.
  EXPECT_EQ(DateToTime_t(36526.0 + 0.4 * kSecond), 946684800u);
  EXPECT_EQ(DateToTime_t(36526.0 + 0.6 * kSecond), 946684801u);
}

// The whole calendar in steps that hit all hours, days and years, in zones with daylight
// time, against Wine's conversion and back through the library.
TEST_F(OleDate, RoundTripsAndWineAgrees) {
  // Without TZ the zone and its daylight rules come from Wine's zone record.
  for (const char* tz : {"GMT0", "CET-1CEST", "EST5EDT", "IST-5:30", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(tz ? tz : "platform record");
    use_zone(tz);
    int checked = 0;
    for (std::uint64_t t = 86400; t <= kLastTime; t += 7919 * 61) {
      const DWORD time = static_cast<DWORD>(t);
      const double date = Time_tToDate(time);
      tambre_time_t copy = time;
      const tm* local = _localtime(&copy);
      ASSERT_NE(local, nullptr) << time;
      SYSTEMTIME st{};
      st.wYear = static_cast<WORD>(local->tm_year + 1900);
      st.wMonth = static_cast<WORD>(local->tm_mon + 1);
      st.wDay = static_cast<WORD>(local->tm_mday);
      st.wHour = static_cast<WORD>(local->tm_hour);
      st.wMinute = static_cast<WORD>(local->tm_min);
      st.wSecond = static_cast<WORD>(local->tm_sec);
      double expected = 0;
      ASSERT_TRUE(SystemTimeToVariantTime(&st, &expected));
      ASSERT_EQ(date, expected) << time;
      const DWORD again = DateToTime_t(date);
      if (again != time) {
        // Only the repeated hour when daylight time ends may map to its other instance.
        EXPECT_EQ(std::abs(static_cast<double>(again) - static_cast<double>(time)), 3600.0) << time;
        EXPECT_EQ(Time_tToDate(again), date) << time;
      }
      ++checked;
    }
    EXPECT_GT(checked, 8000);
  }
}

}  // namespace
