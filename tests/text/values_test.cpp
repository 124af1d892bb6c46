// Double comparison, the packed DBF float, texts in doubles and tag numbering.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "tambre32/values.h"

namespace {

const double qnan = std::numeric_limits<double>::quiet_NaN();
const double snan = std::numeric_limits<double>::signaling_NaN();
const double inf = std::numeric_limits<double>::infinity();

TEST(DoubleCompare, SpecialValuesAreComparableAndNaNSortsBelowEverything) {
  const struct {
    const char* name;
    double a, b;
    bool equal;
    int order;
  } rows[] = {
      {"two quiet NaNs", qnan, qnan, true, 0},
      {"quiet NaN and a number", qnan, 1.0, false, -1},
      {"NaN and minus infinity", qnan, -inf, false, -1},
      {"plus infinities", inf, inf, true, 0},
      {"opposite infinities", inf, -inf, false, 1},
      {"infinity on top", inf, 1e308, false, 1},
      {"zeros of both signs", 0.0, -0.0, true, 0},
      {"signalling NaN equals nothing", snan, snan, false, 0},
      {"ordinary unequal", 2.5, 2.5000000001, false, -1},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(DoubleEqual(&r.a, &r.b), r.equal) << r.name;
    EXPECT_EQ(DoubleNotEqual(&r.a, &r.b), !r.equal) << r.name;
    EXPECT_EQ(CompareDouble(&r.a, &r.b), r.order) << r.name;
    EXPECT_EQ(CompareDouble(&r.b, &r.a), -r.order) << r.name;
  }
}

// Both ways where the packing is unique; a zero exponent byte and the most negative
// mantissa are read only.
TEST(DBF2Float, ExponentOverMantissaAndBack) {
  struct row {
    const char* name;
    std::uint32_t dbf;
    float value;
    bool packs_back;
  } rows[] = {
      {"zero exponent byte means zero", 0x80123456u, 0.0f, false},
      {"zero", 0u, 0.0f, true},
      {"minus one", 0x01C00000u, -1.0f, true},
      {"negative exponent", 0xFF400000u, 0.25f, true},
      {"most negative mantissa", 0x00800000u, -1.0f, false},
      {"large", 0x0A400000u, 512.0f, true},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(DBF2Float(&r.dbf), r.value) << r.name;
    if (r.packs_back) {
      EXPECT_EQ(Float2DBF(r.value), r.dbf) << r.name;
    }
  }
  EXPECT_EQ(Float2DBF(std::nanf("")), 0u);
}

TEST(Float2DBF, RoundTripsWithinTheMantissaStep) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> magnitude(-1e6f, 1e6f);
  for (int i = 0; i < 10000; ++i) {
    const float x = magnitude(rng);
    const std::uint32_t packed = Float2DBF(x);
    const float back = DBF2Float(&packed);
    // Positive values are exact (24-bit mantissa); negative ones lose at most one step.
    int exponent;
    std::frexp(x, &exponent);
    EXPECT_LE(std::fabs(back - x), std::ldexp(1.0, exponent - 22)) << x;
    if (x >= 0) {
      EXPECT_EQ(back, x) << x;
    }
  }
}

// The integer value of each double: characters c0..c5, first one lowest.
std::string unpack(const double* values, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    auto v = static_cast<std::uint64_t>(values[i]);
    for (int k = 0; k < 6; ++k, v >>= 8) s += static_cast<char>(v & 0xFF);
  }
  return s;
}

TEST(SetDBText, SixCharactersPerDoubleUntilTheTextEnds) {
  struct row {
    const char* name;
    const char* text;
    int max_chars;
    int count;
    std::string packed;
  } rows[] = {
      {"six characters need a second double", "ABCDEF", 95, 2, std::string("ABCDEF") + std::string(6, '\0')},
      {"null text", nullptr, 95, 1, std::string(6, '\0')},
      {"budget of three", "ABCDEF", 3, 1, std::string("ABC") + std::string(3, '\0')},
      {"budget of six", "ABCDEFGH", 6, 2, std::string("ABCDEF") + std::string(6, '\0')},
  };
  for (const auto& r : rows) {
    double values[20];
    for (double& v : values) v = -1.0;
    EXPECT_EQ(SetDBText(values, r.max_chars, r.text), r.count) << r.name;
    EXPECT_EQ(unpack(values, r.count), r.packed) << r.name;
    EXPECT_EQ(values[r.count], -1.0) << r.name;  // nothing written behind
  }
  EXPECT_EQ(SetDBText(nullptr, 95, "A"), 0);
}

TEST(GetDBText, ReadsBackWhatSetDBTextStored) {
  const char* texts[] = {"", "ABCDEF", "Kessel 4 Temperatur", "\xE4\xF6\xFC\xDF high bytes"};
  for (const char* text : texts) {
    double values[16];
    SetDBText(values, 95, text);
    char out[100];
    const int n = GetDBText(out, sizeof out, values, 95);
    EXPECT_STREQ(out, text);
    // The count includes the zero that ended the text inside the data.
    EXPECT_EQ(n, static_cast<int>(std::strlen(text)) + 1) << text;
  }
  // At most 95 characters in 16 doubles.
  double values[20];
  for (double& v : values) v = -1.0;
  EXPECT_EQ(SetDBText(values, 500, std::string(200, 'x').c_str()), 16);
  EXPECT_EQ(values[16], -1.0);
  char out[128];
  EXPECT_EQ(GetDBText(out, sizeof out, values, 500), 95);
  EXPECT_EQ(std::string(out), std::string(95, 'x'));
}

TEST(GetDBText, OutputSizeBoundsAndTerminates) {
  double values[4];
  SetDBText(values, 95, "ABCDEFGHIJ");
  char out[8];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(GetDBText(out, 4, values, 95), 3);
  EXPECT_STREQ(out, "ABC");
  EXPECT_EQ(out[4], '#');
  EXPECT_EQ(GetDBText(out, 1, values, 95), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(GetDBText(nullptr, 8, values, 95), 0);
  for (const double bad : {1e300, qnan}) {
    const double unconvertible[2] = {bad, 0.0};
    EXPECT_EQ(GetDBText(out, sizeof out, unconvertible, 95), 6);
    EXPECT_STREQ(out, "#ERROR");
  }
}

TEST(NextTagName, AdvancesTheLastNumberKeepingItsWidth) {
  struct row {
    const char* name;
    const char* tag;
    int step;
    int out_size;
    int result;
    const char* expected;
  } rows[] = {
      {"leading zeros", "AI007", 1, 32, 1, "AI008"},
      {"suffix carried", "AI7x", 1, 32, 1, "AI8x"},
      {"no number", "AI", 1, 32, 1, "AI1"},
      {"down", "AI010", -1, 32, 1, "AI009"},
      {"width grows", "99", 1, 32, 1, "100"},
      {"below zero", "AI000", -1, 32, 0, nullptr},
      {"only the last run counts", "A1B2C3", 10, 32, 1, "A1B2C13"},
      {"leading digit drops the rest", "5abc", 1, 32, 1, "6"},
      {"leading digit below zero", "0abc", -1, 32, 0, nullptr},
      {"empty", "", 1, 32, 1, "0"},
      {"zero step", "AI1", 0, 32, 0, nullptr},
      {"output of one byte", "AI1", 1, 1, 0, nullptr},
      {"one too long", "AI9", 1, 4, 0, nullptr},
      {"no number, name fills the output", "ABC", 1, 4, 0, nullptr},
  };
  for (const auto& r : rows) {
    char out[32] = "untouched";
    EXPECT_EQ(NextTagName(out, r.out_size, r.tag, r.step, 0), r.result) << r.name;
    if (r.expected != nullptr) {
      EXPECT_STREQ(out, r.expected) << r.name;
    }
  }
}

TEST(NextTagName, RefusesNamesLongerThanItsCopy) {
  std::string name(263, 'A');
  name.back() = '1';
  std::string out(300, '\0');
  EXPECT_EQ(NextTagName(out.data(), 300, name.c_str(), 1, 0), 1);
  name += 'x';
  EXPECT_EQ(NextTagName(out.data(), 300, name.c_str(), 1, 0), 0);
}

}  // namespace
