// Schedule records: due times over two whole years against an independent local-time
// oracle, the text form, the ordering and the normalisation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "civil_oracle.h"
#include "fake_time_source.h"
#include "schedule_builder.h"
#include "tambre32/schedule.h"
#include "time/schedule_match.h"

using tambre::test::cet;
using tambre::test::seconds_of;

namespace {

using tambre::test::schedule_record;

tambre32::timespec normalised(tambre32::timespec r) {
  r.recalc();
  return r;
}

// Central European local time of t, not from the library: glibc natively, the civil
// calendar and the changeover rule of cet_clock.h under Windows.
std::tm oracle_local(std::int64_t t) {
#if !defined(_WIN32)
  std::time_t value = static_cast<std::time_t>(t);
  std::tm f;
  localtime_r(&value, &f);
  return f;
#else
  std::int64_t year = tambre::test::civil_tm(t).tm_year + 1900;
  return tambre::test::civil_tm(t + 3600 + (tambre::test::cet_daylight_at(t, year) ? 3600 : 0));
#endif
}

int oracle_days_of_month(const std::tm& f) {
  std::int64_t y = f.tm_year + 1900;
  unsigned m = static_cast<unsigned>(f.tm_mon) + 1;
  return static_cast<int>(tambre::test::days_from_civil(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1) -
                          tambre::test::days_from_civil(y, m, 1));
}

// One record and when it is due by the oracle's breakdown f of the time t asked about.
struct schedule_case {
  std::string name;
  tambre32::timespec spec;
  bool (*due)(const tambre32::timespec& r, const std::tm& f, std::int64_t t);
};

bool at(const tambre32::timespec& r, const std::tm& f) { return f.tm_hour == r.hour && f.tm_min == r.minute; }
bool on_cut_day(const tambre32::timespec& r, const std::tm& f) {
  return f.tm_mday == std::min(r.day + 1, oracle_days_of_month(f)) && at(r, f);
}
// Custom periods count wall-clock minutes from local midnight of January 1.
int minute_of_year(const std::tm& f) { return f.tm_yday * 1440 + f.tm_hour * 60 + f.tm_min; }
using spec = const tambre32::timespec&;
using fields = const std::tm&;

std::vector<schedule_case> year_cases() {
  std::vector<schedule_case> cases = {
      {"once", schedule_record(0, 30, 6, 4, 0, 2, 124),
       [](spec r, fields f, std::int64_t) {
         return f.tm_year == r.year && f.tm_mon == r.month && f.tm_mday == 5 && at(r, f);
       }},
      {"hourly", schedule_record(2, 15), [](spec r, fields f, std::int64_t) { return f.tm_min == r.minute; }},
      {"daily", schedule_record(3, 30, 6), [](spec r, fields f, std::int64_t) { return at(r, f); }},
      {"weekly", schedule_record(4, 0, 6, 0, 1),
       [](spec r, fields f, std::int64_t) { return f.tm_wday == r.weekday && at(r, f); }},
      {"quarterly", schedule_record(6, 0, 0, 0, 0, 1),
       [](spec r, fields f, std::int64_t) { return f.tm_mon % 3 == r.month && on_cut_day(r, f); }},
      {"quarterly-31", schedule_record(6, 45, 23, 30, 0, 2),
       [](spec r, fields f, std::int64_t) { return f.tm_mon % 3 == r.month && on_cut_day(r, f); }},
      {"yearly", schedule_record(7, 0, 6, 28, 0, 1),
       [](spec r, fields f, std::int64_t) { return f.tm_mon == r.month && on_cut_day(r, f); }},
      {"every-4h", schedule_record(99, 0, 4, 0, 0, 0, 0, 7200),
       [](spec, fields f, std::int64_t) { return f.tm_min == 0 && f.tm_hour % 4 == 0; }},
      {"every-8h", schedule_record(99, 0, 8, 0, 0, 0, 0, 86400),
       [](spec, fields f, std::int64_t) { return f.tm_min == 0 && f.tm_hour % 8 == 0; }},
      {"every-2h", schedule_record(99, 0, 0, 0, 0, 0, 0, 7200),
       [](spec, fields f, std::int64_t) { return f.tm_min == 0 && f.tm_hour % 2 == 0; }},
      {"every-90min-at-20", schedule_record(99, 20, 0, 0, 0, 0, 0, 5400),
       [](spec, fields f, std::int64_t) { return minute_of_year(f) % 90 == 20; }},
      {"every-3d-at-1d5h", schedule_record(99, 0, 5, 1, 0, 0, 0, 3 * 86400),
       [](spec, fields f, std::int64_t) { return minute_of_year(f) % (3 * 1440) == 1440 + 300; }},
      {"length-60", schedule_record(99, 0, 0, 0, 0, 0, 0, 60),
       [](spec, fields, std::int64_t t) { return t % 60 < 30; }},
  };
  for (int day = 0; day < 31; ++day)
    cases.push_back({"monthly-" + std::to_string(day + 1), schedule_record(5, 0, 6, day),
                     [](spec r, fields f, std::int64_t) { return on_cut_day(r, f); }});
  for (auto& c : cases) c.spec.recalc();
  return cases;
}

class TimespecMatch : public tambre::test::cet_clock_test {
 protected:
  void SetUp() override {
    cet_clock_test::SetUp();
    tambre::time::forget_match_cache();
  }
};

// Every minute of 2023 and 2024, at a second that wanders through the minute.
TEST_F(TimespecMatch, EveryMinuteOfTwoYearsLikeTheOracle) {
#if !defined(_WIN32)
  tambre::test::glibc_zone berlin("Europe/Berlin");
#endif
  const auto cases = year_cases();
  std::vector<int> hits(cases.size());
  std::int64_t minute_index = 0;
  for (std::int64_t start = seconds_of(2023, 1, 1) - 3600; start < seconds_of(2025, 1, 1) - 3600; start += 60) {
    const std::int64_t t = start + (minute_index++ * 7) % 60;
    const std::tm f = oracle_local(t);
    for (std::size_t i = 0; i < cases.size(); ++i) {
      tambre32::timespec r = cases[i].spec;
      const bool expected = cases[i].due(r, f, t);
      ASSERT_EQ(r.match(static_cast<tambre32::timespec_long>(t), 0), expected)
          << cases[i].name << " at " << tambre::test::tm_text(f);
      hits[i] += expected;
    }
  }
  auto hits_of = [&](const std::string& name) {
    for (std::size_t i = 0; i < cases.size(); ++i)
      if (cases[i].name == name) return hits[i];
    return -1;
  };
  // Each schedule fired as often as the calendar says: an oracle agreeing with a match
  // that never fires would be no proof.
  EXPECT_EQ(hits_of("once"), 1);
  EXPECT_EQ(hits_of("daily"), 731);
  EXPECT_EQ(hits_of("monthly-31"), 24);
  EXPECT_EQ(hits_of("quarterly"), 8);
  EXPECT_EQ(hits_of("yearly"), 2);
}

TEST_F(TimespecMatch, OffsetRoundsAndTheCacheIsKeyedByTAlone) {
  tambre32::timespec daily = normalised(schedule_record(3, 0, 6));
  const auto t = cet(2024, 7, 1, 5, 58, 45);
  EXPECT_TRUE(daily.match(t, 90));  // 06:00:15 -> 06:00
  EXPECT_TRUE(daily.match(t, 0));   // the same t reuses the breakdown of 06:00
  EXPECT_FALSE(daily.match(t + 1, 0));
  EXPECT_FALSE(daily.match(t, 0));  // t is new again: 05:58
  EXPECT_FALSE(daily.match(cet(2024, 7, 1, 5, 59, 59), 0));
  EXPECT_TRUE(daily.match(cet(2024, 7, 1, 6, 0, 59), 0));
}

TEST_F(TimespecMatch, MinutelyFollowsTheSecondOfTheUtcClock) {
  tambre32::timespec every = normalised(schedule_record(1));
  for (int second : {0, 9, 10, 59}) {
    source.utc.second = second;
    EXPECT_EQ(every.match(cet(2024, 1, 1), 0), second < 10) << second;
  }
}

TEST_F(TimespecMatch, NeverDueWithoutTimeKindOrLength) {
  const auto t = cet(2024, 1, 1);  // midnight: every offset-0 schedule could fire
  EXPECT_FALSE(normalised(schedule_record(3)).match(-1, 0));
  EXPECT_FALSE(
      normalised(schedule_record(3)).match(static_cast<tambre32::timespec_long>(0xF4865700u), 0));  // past 2099
  EXPECT_FALSE(normalised(schedule_record(3)).match(static_cast<tambre32::timespec_long>(0xF48656C0u), 3600));
  for (int kind : {-1, 8, 42, 98, 100, 0x7FFFFFFF})
    EXPECT_FALSE(schedule_record(kind, 0, 0, 0, 0, 0, 0, 60).match(t, 0)) << kind;
  for (int kind : {2, 3, 4, 99}) EXPECT_FALSE(schedule_record(kind).match(t, 0)) << kind;  // length 0 divides nothing
  // Fields far out of range give a plain no.
  EXPECT_FALSE(schedule_record(4, 32767, 32767, 0, 32767, 0, 0, 604800).match(t, 0));
  EXPECT_FALSE(schedule_record(99, 32767, 32767, 32767, 0, 0, 0, -7).match(t, 0));
  EXPECT_FALSE(schedule_record(6, 0, 0, -1, 0, -32768).match(t, 0));
}

struct text_case {
  tambre32::timespec spec;
  const char* text;
};

TEST(TimespecText, EveryKindAsItsExamples) {
  const text_case cases[] = {
      {schedule_record(3, 30, 6), "T\xe4glich 06:30"},
      {schedule_record(2, 15), "St\xfcndlich 00:15"},
      {schedule_record(1), "Min\xfctlich  00:"},
      {schedule_record(4, 0, 6, 0, 6), "W\xf6\x63htlich Sa 06:00"},
      {schedule_record(4, 0, 6, 0, 7), "W\xf6\x63htlich 06:00"},  // no name beyond Saturday
      {schedule_record(5, 0, 6, 0), "Monatlich 1.06:00"},
      {schedule_record(6, 5, 7, 14, 0, 2), "Quartal 15.3.07:05"},
      {schedule_record(7, 0, 6, 0, 0, 0),
       "J\xe4hrlich"
       "1.1.06:00"},
      {schedule_record(0, 0, 6, 4, 0, 2, 124), "5.3.2024 06:00"},
      {schedule_record(99, 15, 0, 0, 0, 0, 0, 7200), "<0d 02:00> 00:15"},
      {schedule_record(99, 0, 0, 0, 0, 0, 0, 95400), "<1d 02:30> 1.00:00"},
      {schedule_record(99, 59, 23, 30, 6, 11, 199, 366 * 86400 + 23 * 3600 + 59 * 60), "<366d 23:59> 31.12.2099 23:59"},
      {schedule_record(99, 0, 0, 0, 0, 0, 0, 0), "1.1.1900 00:00"},  // no length: a once-record
      {schedule_record(12, 1, 2, 3, 4, 5, 6), "4.6.1906 02:01"},
  };
  for (const auto& c : cases) {
    tambre32::timespec r = c.spec;
    char text[TIMESPEC_TEXT_SIZE];
    EXPECT_EQ(r.tostr(text), text);
    EXPECT_STREQ(text, c.text);
  }
}

TEST(TimespecRecalc, KindsAndLengths) {
  struct {
    int kind, length, kind_after, length_after;
  } cases[] = {{1, 5, 1, 60},      {2, 0, 2, 3600},     {3, -1, 3, 86400},    {4, 0, 4, 604800}, {5, 0, 5, 2678400},
               {6, 0, 6, 7948800}, {7, 0, 7, 31536000}, {99, 7200, 99, 7200}, {99, 0, 0, 0},     {99, -60, 0, 0},
               {12, 60, 0, 0},     {0, 500, 0, 0},      {-3, 60, 0, 0}};
  for (const auto& c : cases) {
    tambre32::timespec r = normalised(schedule_record(c.kind, 1, 2, 3, 4, 5, 6, c.length));
    EXPECT_EQ(r.kind, c.kind_after) << c.kind;
    EXPECT_EQ(static_cast<int>(r.length), c.length_after) << c.kind;  // the field is unaligned
    EXPECT_EQ(r.minute + r.hour + r.day + r.weekday + r.month + r.year, 21) << "fields kept";
  }
}

TEST(TimespecCompare, StrictWeakOrderingOverRandomRecords) {
  std::mt19937 random(11);
  const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 99, 12};
  std::vector<tambre32::timespec> records;
  for (int i = 0; i < 600; ++i) {
    tambre32::timespec r = schedule_record(kinds[random() % 10], random() % 3, random() % 3, random() % 3, random() % 2,
                                           random() % 3, random() % 200, static_cast<int>(random() % 3) * 3600);
    r.reserved = static_cast<short>(random());  // takes no part
    if (random() % 2) r.recalc();
    records.push_back(r);
  }
  std::sort(records.begin(), records.end(),
            [](const tambre32::timespec& a, const tambre32::timespec& b) { return a.compare(b) < 0; });
  for (std::size_t i = 0; i < records.size(); ++i) {
    ASSERT_EQ(records[i].compare(records[i]), 0);
    for (std::size_t j = i + 1; j < records.size(); ++j) {
      const int forward = records[i].compare(records[j]);
      ASSERT_LE(forward, 0) << i << " " << j;
      ASSERT_EQ(records[j].compare(records[i]), -forward) << i << " " << j;
      if (records[i].kind == 0) {
        ASSERT_EQ(static_cast<int>(records[j].kind), 0) << "periodic after once";
      }
    }
  }
  // Kind first, then the length, then the due point, each field by its weight.
  const std::pair<tambre32::timespec, tambre32::timespec> ordered[] = {
      {schedule_record(2, 59), schedule_record(3, 0, 1)},
      {schedule_record(7, 59, 23, 30, 0, 11), schedule_record(0)},
      {schedule_record(2, 10), schedule_record(2, 20)},
      {schedule_record(3, 0, 1), schedule_record(3, 0, 2)},
      {schedule_record(5, 59, 23, 1), schedule_record(5, 0, 0, 2)},
      {schedule_record(4, 0, 0, 0, 1), schedule_record(4, 0, 0, 0, 2)},
      {schedule_record(7, 0, 0, 30, 0, 1), schedule_record(7, 0, 0, 0, 0, 2)},
      {schedule_record(0, 0, 0, 0, 0, 11, 124), schedule_record(0, 0, 0, 0, 0, 0, 125)},
  };
  for (const auto& [a, b] : ordered) {
    EXPECT_EQ(normalised(a).compare(normalised(b)), -1) << static_cast<int>(a.kind) << " " << a.minute;
    EXPECT_EQ(normalised(b).compare(normalised(a)), 1) << static_cast<int>(a.kind) << " " << a.minute;
  }
}

}  // namespace
