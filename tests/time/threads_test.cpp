#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "civil_oracle.h"
#include "fake_time_source.h"
#include "time/local_time.h"

namespace tt = tambre::time;

using Threads = tambre::test::zone_test;

// Threads asking about different years while the zone is read again and again: a
// transition cache shared without care hands one thread another year's transitions.
TEST_F(Threads, ConcurrentConversionsOfDifferentYears) {
  zone_from(tambre::test::central_european());
  std::vector<tt::time_value> times;
  for (int year = 2000; year < 2040; ++year) {
    for (unsigned day = 24; day <= 31; ++day) {
      for (int hour = 0; hour < 4; ++hour) {
        times.push_back(static_cast<tt::time_value>(tambre::test::seconds_of(year, 3, day, hour, 30)));
        times.push_back(static_cast<tt::time_value>(tambre::test::seconds_of(year, 10, day, hour, 30)));
      }
    }
  }
  std::vector<std::tm> expected(times.size());
  std::vector<tt::time_value> made(times.size());
  for (std::size_t i = 0; i < times.size(); ++i) {
    ASSERT_TRUE(tt::local_fields(times[i], expected[i]));
    std::tm back = expected[i];
    back.tm_isdst = -1;
    made[i] = tt::make_local(back);
  }

  std::atomic<int> mismatches{0};
  std::atomic<bool> converting{true};
  std::vector<std::thread> threads;
  std::thread rereading([&] {
    while (converting.load()) tt::read_zone();
  });
  for (int n = 0; n < 4; ++n) {
    threads.emplace_back([&, n] {
      for (int round = 0; round < 60; ++round) {
        for (std::size_t k = 0; k < times.size(); ++k) {
          std::size_t i = (k * 67 + static_cast<std::size_t>(n) * 131) % times.size();
          std::tm f;
          tt::local_fields(times[i], f);
          std::tm back = f;
          back.tm_isdst = -1;
          if (f.tm_hour != expected[i].tm_hour || f.tm_isdst != expected[i].tm_isdst ||
              f.tm_mday != expected[i].tm_mday || tt::make_local(back) != made[i]) {
            ++mismatches;
          }
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  converting = false;
  rereading.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(Threads, FirstConversionOnManyThreadsReadsZoneOnce) {
  source.use_record(tambre::test::central_european());
  source.query_delay_ms = 50;
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int n = 0; n < 8; ++n) {
    threads.emplace_back([&] {
      std::tm f;
      if (!tt::local_fields(static_cast<tt::time_value>(tambre::test::seconds_of(2024, 7, 1)), f) || f.tm_hour != 2)
        ++wrong;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(source.zone_queries, 1);
}
