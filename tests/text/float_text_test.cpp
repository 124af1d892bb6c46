// Float text: every form, value state and error token, read back where the text is exact;
// the fixed and exponent forms against the C library's printf.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "support/test_locales.h"
#include "text/fixed_point.h"
#include "text/float_text.h"
#include "time/fake_time_source.h"

using tambre::locale::locale_snapshot;
namespace tx = tambre::text;

namespace {

const locale_snapshot de = tambre::test::german_locale();
const locale_snapshot en = tambre::test::english_locale();

std::string format(unsigned flags, int decimals, double value, int state = 0, const locale_snapshot& locale = de) {
  char out[200];
  std::memset(out, 'Z', sizeof out);
  tx::format_float(out, flags, decimals, value, state, locale);
  return out;
}

struct scanned {
  double value;
  bool failed;
  std::string text_after;
};

scanned scan(const char* text, unsigned flags, const locale_snapshot& locale = de) {
  char copy[128];
  std::snprintf(copy, sizeof copy, "%s", text);
  bool failed = false;
  double value = tx::scan_float(copy, flags, failed, locale);
  return {value, failed, copy};
}

std::string bits_of(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  char out[20];
  std::snprintf(out, sizeof out, "%016llX", static_cast<unsigned long long>(bits));
  return out;
}

class FloatTextTime : public tambre::test::cet_clock_test {};

}  // namespace

TEST(FloatFormat, EveryFormAndValueState) {
  struct row {
    const char* name;
    unsigned flags;
    int decimals;
    double value;
    const char* expected;
    int state = 0;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const row rows[] = {
      {"dashes", 8, 2, 1.0, "-----.--", tx::fv_dash},
      {"hashes", 8, 2, 1.0, "#####.##", tx::fv_hash},
      {"hashes without decimals", 8, 0, 1.0, "########", tx::fv_hash},
      {"dashes: decimals not below the width", 4, 4, 1.0, "----", tx::fv_dash},
      {"blanks", 5, 2, 1.0, "     ", tx::fv_blank},
      {"any other state formats", 8, 2, std::nan(""), "#NAN", 1},
      {"no minus before zeros", 8, 2, -0.0001, "0.00"},
      {"too wide turns to exponent", 6, 2, 1234567.0, "1E+006"},
      {"too wide keeps decimals that fit", 12, 2, 1234567891.0, "1.23E+009"},
      {"width 0 always exponent", 0, 3, 1.0, "1E+000"},
      {"exponent form", 0x0800 | 12, 2, 1500.0, "1.50E+003"},
      {"exponent too wide", 0x0800 | 8, 3, 1500.0, "1.50E+003"},
      {"hex", 0x0100 | 8, 0, 255.7, "FF"},
      {"hex zero padded", 0x0500 | 4, 0, 255.7, "00FF"},
      {"hex negative is two's complement", 0x0100 | 8, 0, -1.0, "FFFFFFFF"},
      {"hex too large", 0x0100 | 8, 0, 5.0e9, "#NAN"},
      {"hex too wide", 0x0100 | 2, 0, 4096.0, "4E+003"},
      {"binary of minus one", 0x0080 | 40, 0, -1.0, "11111111111111111111111111111111"},
      {"hex and binary write hex", 0x0180 | 8, 0, 10.0, "A"},
      {"duration", 0x0200 | 20, 1, 90061.5, "1d 01:01:01.5"},
      {"duration negative", 0x0200 | 20, 2, -61.25, "-00:01:01.25"},
      {"duration decimals zero padded", 0x0200 | 20, 3, 1.05, "00:00:01.050"},
      {"duration too large", 0x0200 | 20, 0, 2147483648.0, "#NAN"},
      {"duration too wide", 0x0200 | 6, 0, 59.0, "6E+001"},
      {"zero padding", 0x0400 | 6, 1, -1.5, "-001.5"},
      {"raw drops zero padding", 0x8400 | 6, 1, 1.5, "1.5"},
      {"raw hex is decimal", 0x8100 | 8, 0, 255.0, "255"},
      {"raw date is seconds", 0x8600 | 0x3F, 3, 1709622249.0, "1709622249"},
      {"plus infinity", 0x0100 | 8, 0, inf, "#INF"},
      {"minus infinity", 8, 2, -inf, "#NINF"},
  };
  for (const row& r : rows) EXPECT_EQ(format(r.flags, r.decimals, r.value, r.state), r.expected) << r.name;
  // 1e30 with 60 decimals needs more than 79 characters: exponent form, whatever the width.
  char expected[100];
  std::snprintf(expected, sizeof expected, "%.60E", 1e30);
  std::string exponent_form = expected;
  exponent_form.replace(exponent_form.size() - 2, 0, "0");  // E+30 written E+030
  EXPECT_EQ(format(127, 60, 1e30), exponent_form);
}

TEST(FloatFormat, FixedAndExponentAgreeWithPrintf) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> magnitude(-12.0, 12.0);
  std::uniform_int_distribution<int> decimals(0, 12);
  for (int i = 0; i < 20000; ++i) {
    double value = std::pow(10.0, magnitude(random)) * (i % 2 == 0 ? 1 : -1);
    // Some exact halves and their neighbours, where only an exact path rounds right.
    if (i % 5 == 0) value = std::round(value * 8) / 8;
    if (i % 7 == 0) value = std::nextafter(std::round(value * 2) / 2, 0.0);
    int d = decimals(random);
    char ours[100], theirs[100];
    ASSERT_TRUE(tx::write_fixed(ours, sizeof ours, d, value));
    std::snprintf(theirs, sizeof theirs, "%.*f", d, value);
    EXPECT_STREQ(ours, theirs) << value << " with " << d << " decimals";
  }
  char small[4];
  EXPECT_FALSE(tx::write_fixed(small, sizeof small, 2, 12.5)) << "12.50 needs five characters";
}

TEST(FloatFormat, RoundTripsWhereTheTextIsExact) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> any(-1e6, 1e6);
  for (int i = 0; i < 5000; ++i) {
    double value = any(random);
    for (int d : {0, 2, 5}) {
      for (unsigned form : {0u, 0x0800u}) {
        std::string text = format(form | 30, d, value);
        scanned back = scan(text.c_str(), form | 30);
        ASSERT_FALSE(back.failed) << text;
        EXPECT_EQ(format(form | 30, d, back.value), text) << "text read back writes the same text";
        if (form == 0) {
          EXPECT_LE(std::fabs(back.value - value), 0.5000001 * std::pow(10.0, -d)) << text;
        }
      }
    }
    // Integers: hexadecimal and binary are exact for all 32 bits.
    double integer = std::trunc(std::fabs(value) * 4000.0);
    for (unsigned form : {0x0100u, 0x0080u}) {
      std::string text = format(form | 40, 0, integer);
      scanned back = scan(text.c_str(), form);
      EXPECT_FALSE(back.failed) << text;
      EXPECT_EQ(back.value, integer) << text;
    }
    // Durations to the written decimals.
    double ms = std::round(value * 1000.0) / 1000.0;
    std::string text = format(0x0200 | 40, 3, ms);
    scanned back = scan(text.c_str(), 0x0200);
    EXPECT_FALSE(back.failed) << text;
    EXPECT_NEAR(back.value, ms, 1e-6) << text;
  }
}

TEST_F(FloatTextTime, DateAndTimeForm) {
  EXPECT_EQ(format(0x0600 | 0x3F, 0, tambre::test::cet(2024, 3, 5, 8, 4, 9) + 0.75), "05.03.2024 08:04:09");
  EXPECT_EQ(format(0x0600 | 0x7F, 0, tambre::test::cet(2024, 3, 5, 8, 4, 9)), "Di 05.03.2024 08:04:09");
  EXPECT_EQ(format(0x0600 | 0x18, 0, tambre::test::cet(2024, 3, 5, 8, 4, 9), 0, en), "03/05/");
  EXPECT_EQ(format(0x0600 | 0x3F, 0, -1.0), "#NAN");
  EXPECT_EQ(format(0x0600 | 0x3F, 0, 4102444800.0), "#NAN");
  EXPECT_EQ(format(0x0600, 0, 1000.0), "#NAN") << "no field gives an empty text";

  // The stamps are those of the time text, whose round trips are its own tests'; here
  // what the float form adds: the locale passed on, the weekday skipped with FF_SKIPALPHA.
  EXPECT_EQ(scan("03/05/2024 08:04:09", 0x0600, en).value, tambre::test::cet(2024, 3, 5, 8, 4, 9));
  EXPECT_EQ(scan("Di 05.03.2024 08:04:09", 0x0640).value, tambre::test::cet(2024, 3, 5, 8, 4, 9));
  EXPECT_TRUE(scan("Di 05.03.2024 08:04:09", 0x0600).failed) << "the weekday needs FF_SKIPALPHA";
  scanned prefixed = scan("&T05.03.2024 08:04:09", 0);
  EXPECT_FALSE(prefixed.failed);
  EXPECT_EQ(prefixed.value, tambre::test::cet(2024, 3, 5, 8, 4, 9));
  scanned wrong = scan("&T32.03.2024", 0);
  EXPECT_TRUE(wrong.failed);
  EXPECT_EQ(wrong.value, -1.0);
  scanned raw = scan("1709622249", 0x8600);
  EXPECT_FALSE(raw.failed) << "a raw date is read as a plain number";
  EXPECT_EQ(raw.value, 1709622249.0);
}

TEST(FloatScan, EveryFormAndPrefix) {
  struct row {
    const char* name;
    const char* text;
    unsigned flags;
    double value;
    bool failed;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const row rows[] = {
      {"plain", "  12.5", 0, 12.5, false},
      {"trailing ignored", "12abc", 0, 12.0, false},
      {"empty", "", 0, 0.0, true},
      {"no words of the C library", "inf", 0, 0.0, true},
      {"no hexadecimal of the C library", "0x1p3", 0, 0.0, false},
      {"point alone", ".", 0, 0.0, true},
      {"leading point", ".5", 0, 0.5, false},
      {"huge", "1e400", 0, inf, false},
      {"hex prefix", "&xFF", 0, 255.0, false},
      {"hex invalid digit", "&x1G", 0, 1.0, true},
      {"hex nine digits", "&x123456789", 0, 305419896.0, true},
      {"hex negative", "&x-10", 0, -16.0, false},
      {"hex plus refused", "&x+10", 0, 0.0, true},
      {"binary prefix", "&b101", 0, 5.0, false},
      {"binary invalid digit", "&b102", 0, 2.0, true},
      {"binary and hex flags read binary", "11", 0x0180, 3.0, false},
      {"raw with hex flags is decimal", "12", 0x8100, 12.0, false},
      {"upper-case prefix selects nothing", "&X10", 0, 0.0, true},
      {"infinity token", "#INF", 0, inf, false},
      {"hash number", "#12", 0x0100, 12.0, false},
      {"token needs its hash", "INF", 0, 0.0, true},
      {"duration prefix", "&t1d 00:00:01,5", 0, 86401.5, false},
      {"duration negative", "&t-00:01", 0, -1.0, false},
      {"duration minutes", "12:30", 0x0200, 750.0, false},
      {"duration fraction", "&t.05", 0, 0.05, true},
      {"duration letters", "&tab", 0, 0.0, true},
      {"duration empty", "&t", 0, 0.0, true},
  };
  for (const row& r : rows) {
    scanned s = scan(r.text, r.flags);
    EXPECT_EQ(s.failed, r.failed) << r.name;
    EXPECT_DOUBLE_EQ(s.value, r.value) << r.name;
  }
  scanned nan = scan("#NAN", 0);
  EXPECT_FALSE(nan.failed);
  EXPECT_EQ(bits_of(nan.value), "FFFF000000000000");
}

// Plain decimals of every length around the exact-double limits (2^53, 19 digits, 22
// places) and with exponents read to the same bits as the C library's strtod.
TEST(FloatScan, DecimalsAgreeWithStrtodToTheBit) {
  std::mt19937_64 rng(5);
  for (int i = 0; i < 40000; ++i) {
    std::string text = rng() % 4 == 0 ? "-" : "";
    const int digits = 1 + static_cast<int>(rng() % 24);
    const int point = static_cast<int>(rng() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point && d != 0) text += '.';
      text += static_cast<char>('0' + rng() % 10);
    }
    if (rng() % 8 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 40) - 20);
    const double expected = std::strtod(text.c_str(), nullptr);
    scanned s = scan(text.c_str(), 0, en);
    ASSERT_FALSE(s.failed) << text;
    ASSERT_EQ(bits_of(s.value), bits_of(expected)) << text;
  }
}

TEST(FloatScan, LocaleDecimalAndTextInPlace) {
  scanned german = scan("3,5", 0, de);
  EXPECT_EQ(german.value, 3.5);
  EXPECT_EQ(german.text_after, "3.5") << "the caller's text is converted in place";
  EXPECT_EQ(scan("1.234,5", 0, de).value, 1.234) << "no digit grouping";
  EXPECT_EQ(scan("3,5", 0, en).value, 3.0) << "a comma is no decimal point in English";
  EXPECT_EQ(scan("  &xAB", 0).text_after, "  &xab") << "lower-cased after the prefix character";
  bool failed = false;
  EXPECT_EQ(tx::scan_float(nullptr, 0, failed, de), 0.0);
  EXPECT_TRUE(failed);
}
