// The packed hexadecimal text of value arrays.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/hex_values.h"

namespace {

using tambre::config::format_hex_values;
using tambre::config::kMaxHexValues;
using tambre::config::read_hex_values;

TEST(HexValues, FormatIsUpperCaseWithoutLeadingZerosOrTrailingCommaAndTakesAtMost112) {
  std::vector<std::uint32_t> many(200);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint32_t>(i);
  std::string first_112;
  for (int i = 0; i < kMaxHexValues; ++i) {
    char hex[12];
    std::snprintf(hex, sizeof hex, i ? ",%X" : "%X", i);
    first_112 += hex;
  }
  const struct {
    std::vector<std::uint32_t> values;
    int count;
    std::string text;
  } rows[] = {
      {{1016, 0, 255}, 3, "3F8,0,FF"}, {{0xABCDEF01u, 2, 3}, 2, "ABCDEF01,2"}, {{1}, -4, ""}, {many, 200, first_112}};
  for (const auto& r : rows) EXPECT_EQ(format_hex_values(r.values.data(), r.count), r.text) << r.text;
}

TEST(HexValues, ReadClearsTheArrayAndCountsEveryPiece) {
  std::string many;
  for (int i = 0; i < 150; ++i) many += std::to_string(i % 10) + ",";
  std::vector<std::uint32_t> first_112(200, 0);
  for (int i = 0; i < kMaxHexValues; ++i) first_112[i] = i % 10;
  const struct {
    std::string text;
    int count;
    int result;
    std::vector<std::uint32_t> values;
  } rows[] = {
      {"3F8,0,FF", 5, 3, {0x3F8, 0, 0xFF, 0, 0}},
      {"", 3, 0, {0, 0, 0}},
      {"1,2,3", 2, 2, {1, 2}},
      {"123456789", 1, 1, {0xFFFFFFFFu}},  // saturates
      {"0x,5", 5, 4, {0, 0, 0, 5, 0}},     // "0x" alone is no number: skipped a character at a time
      {" -1,+a;0x9f,g,-123456789", 8, 6, {0xFFFFFFFFu, 0xA, 0x9F, 0, 0, 0xFFFFFFFFu, 0, 0}},  // as Windows' strtoul
      {many, 200, kMaxHexValues, first_112},
  };
  for (const auto& r : rows) {
    std::vector<std::uint32_t> values(r.values.size(), 0xAAAAAAAAu);
    EXPECT_EQ(read_hex_values(r.text.c_str(), values.data(), r.count), r.result) << r.text;
    EXPECT_EQ(values, r.values) << r.text;
  }
}

}  // namespace
