// The packed hexadecimal text of value arrays; strtoul is the oracle for reading.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <random>
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
      {many, 200, kMaxHexValues, first_112},
  };
  for (const auto& r : rows) {
    std::vector<std::uint32_t> values(r.values.size(), 0xAAAAAAAAu);
    EXPECT_EQ(read_hex_values(r.text.c_str(), values.data(), r.count), r.result) << r.text;
    EXPECT_EQ(values, r.values) << r.text;
  }
}

bool bare_hex_prefix(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        (i + 2 == text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 2])))) {
      return true;
    }
  }
  return false;
}

// Whether this C library reads a bare "0x" as no number, as the Windows one does (glibc reads the "0").
bool bare_prefix_is_no_number() {
  char* end = nullptr;
  const char text[] = "0xg";
  std::strtoul(text, &end, 16);
  return end == text;
}

TEST(HexValues, ReadAgreesWithStrtoulOnRandomTexts) {
  const bool comparable_prefix = bare_prefix_is_no_number();
  std::mt19937 random(7);
  const std::string alphabet = "0123456789abcDEF  ,,;x-+g\t";
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 24);
    int run = 0;
    for (int i = 0; i < length; ++i) {
      char c = alphabet[random() % alphabet.size()];
      run = std::isxdigit(static_cast<unsigned char>(c)) ? run + 1 : 0;
      if (run > 7) c = ',';
      if (run > 7) run = 0;
      text += c;
    }
    if (!comparable_prefix && bare_hex_prefix(text)) continue;
    std::vector<std::uint32_t> expected(8, 0);
    int expected_count = 0;
    if (!text.empty()) {
      const char* p = text.c_str();
      while (expected_count < 8) {
        char* end = nullptr;
        expected[expected_count++] = static_cast<std::uint32_t>(std::strtoul(p, &end, 16));
        if (*end == '\0') break;
        p = end + 1;
      }
    }
    std::vector<std::uint32_t> values(8, 1);
    EXPECT_EQ(read_hex_values(text.c_str(), values.data(), 8), expected_count) << text;
    EXPECT_EQ(values, expected) << text;
  }
}

}  // namespace
