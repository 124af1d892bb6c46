#include <gtest/gtest.h>

#include <cstdint>

#include "frame/file_time.h"

namespace {

using namespace tambre::frame;
constexpr std::uint64_t kEpoch = 116444736000000000ULL;

TEST(FileTime, ToTimeTAndSeconds) {
  const struct {
    const char* name;
    std::uint64_t file_time;
    std::uint32_t time;
    double seconds;
  } rows[] = {
      {"epoch", kEpoch, 0, 0.0},
      {"second and milliseconds", kEpoch + 12345678, 1, 1.234},
      {"zero is before 1970", 0, 0xFFFFFFFFu, -1.0},
      {"just before 1970: second 0, milliseconds of the tick", kEpoch - 1, 0, 0.999},
      {"one second before 1970", kEpoch - 10000000, 0xFFFFFFFFu, -1.0},
      {"last valid second", kEpoch + 0xFFFFFFFEULL * 10000000, 0xFFFFFFFEu, 4294967294.0},
      {"the no-time second is out of range", kEpoch + 0xFFFFFFFFULL * 10000000, 0xFFFFFFFFu, -1.0},
      {"end of 2099", kEpoch + 0xF48656FFULL * 10000000 + 9990000, 0xF48656FFu, 4102444799.999},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(file_time_to_time_t(row.file_time), row.time) << row.name;
    EXPECT_DOUBLE_EQ(file_time_to_seconds(row.file_time), row.seconds) << row.name;
  }
}

TEST(FileTime, FromSecondsAndTimeT) {
  const struct {
    const char* name;
    double seconds;
    std::uint64_t file_time;
  } rows[] = {
      {"negative", -0.5, 0},
      {"quarter", 1.25, kEpoch + 12500000},
      {"milliseconds are truncated", 2.0009, kEpoch + 20000000},
      {"large", 4102444799.5, kEpoch + 4102444799ULL * 10000000 + 5000000},
  };
  for (const auto& row : rows) EXPECT_EQ(seconds_to_file_time(row.seconds), row.file_time) << row.name;
  EXPECT_EQ(time_t_to_file_time(0xFFFFFFFFu), 0u);
  for (std::uint32_t t : {0u, 1u, 0x80000000u, 0xFFFFFFFEu}) {
    EXPECT_EQ(file_time_to_time_t(time_t_to_file_time(t)), t) << t;
    EXPECT_EQ(time_t_to_file_time(t), kEpoch + std::uint64_t{t} * 10000000) << t;
  }
}

}  // namespace
