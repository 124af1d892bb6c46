// Hexadecimal, URL and code-page texts: the rules in tables, round trips over every byte,
// and what a caller's buffer looks like after a failure.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "random_bytes.h"
#include "tambre32/encoding.h"

#if !defined(_WIN32)
#include <iconv.h>
#endif

namespace {

TEST(StrToHex, UpperCaseDigitsHighNibbleFirst) {
  struct row {
    const char* name;
    const char* input;
    int length;
    const char* expected;
  } rows[] = {
      {"whole text", "AZ", -1, "415A"},
      {"length past the terminator stops there", "AZ", 10, "415A"},
      {"zero length", "AZ", 0, ""},
      {"high bytes", "\xFF\x80\x0F", -1, "FF800F"},
  };
  for (const auto& r : rows) {
    char out[32];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(StrToHex(out, r.input, r.length), out) << r.name;
    EXPECT_STREQ(out, r.expected) << r.name;
  }
}

TEST(StrToHex, OutputOverTheInputInEitherDirection) {
  char same[16] = "AZ!";
  StrToHex(same, same, -1);
  EXPECT_STREQ(same, "415A21");
  char behind[32] = "xxxxxxxxAZ!";  // output starts before the input
  StrToHex(behind + 5, behind + 8, -1);
  EXPECT_STREQ(behind + 5, "415A21");
  char ahead[32] = "AZ!";  // output starts inside the input
  StrToHex(ahead + 1, ahead, -1);
  EXPECT_STREQ(ahead + 1, "415A21");
}

TEST(HexToStr, PairsOfDigitsOrAnEmptyFailure) {
  struct row {
    const char* name;
    const char* hex;
    const char* expected;  // null: fails
  } rows[] = {
      {"lower case", "415a", "AZ"},     {"empty", "", ""}, {"colon", "41:5", nullptr}, {"odd count", "415", nullptr},
      {"letter past F", "4G", nullptr},
  };
  for (const auto& r : rows) {
    char out[16];
    std::memset(out, '#', sizeof out);
    char* result = HexToStr(out, r.hex);
    if (r.expected == nullptr) {
      EXPECT_EQ(result, nullptr) << r.name;
      EXPECT_EQ(out[0], '\0') << r.name;
    } else {
      EXPECT_EQ(result, out) << r.name;
      EXPECT_STREQ(out, r.expected) << r.name;
    }
  }
}

TEST(HexToStr, RoundTripsEveryNonZeroByteInPlace) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string buffer(all.size() * 2 + 1, '\0');
  ASSERT_NE(StrToHex(buffer.data(), all.c_str(), -1), nullptr);
  ASSERT_EQ(std::strlen(buffer.c_str()), all.size() * 2);
  ASSERT_EQ(HexToStr(buffer.data(), buffer.c_str()), buffer.data());  // decoded over its own text
  EXPECT_EQ(std::string(buffer.c_str()), all);
}

TEST(EncodeURL, ReservedControlAndHighCharactersArePercentEncoded) {
  struct row {
    const char* name;
    const char* input;
    const char* expected;
  } rows[] = {
      {"every reserved one, plus too", " !#$%&'()*+,/:;=?@[]",
       "%20%21%23%24%25%26%27%28%29%2A%2B%2C%2F%3A%3B%3D%3F%40%5B%5D"},
      {"unreserved punctuation stays", "-_.~\"<>\\^`{|}", "-_.~\"<>\\^`{|}"},
      {"control and high bytes", "\t\x7F\x80\xFF", "%09\x7F%80%FF"},
      {"null is empty", nullptr, ""},
  };
  for (const auto& r : rows) {
    char out[128];
    EXPECT_EQ(EncodeURL(out, r.input, sizeof out), 1) << r.name;
    EXPECT_STREQ(out, r.expected) << r.name;
  }
}

TEST(EncodeURL, StopsAtTheFirstCharacterThatDoesNotFit) {
  struct row {
    const char* name;
    int size;
    const char* expected;
    int result;
  } rows[] = {
      {"room for a and the terminator only", 4, "a", 0},  // "%20" needs 4 with 2 left
      {"room for a%20", 5, "a%20", 0},                    // b needs 2, 1 left
      {"exactly enough", 10, "a%20b%2Fc", 1},
      {"one short: c has no room", 9, "a%20b%2F", 0},
      {"size one", 1, "", 0},
  };
  for (const auto& r : rows) {
    char out[16];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(EncodeURL(out, "a b/c", r.size), r.result) << r.name;
    EXPECT_STREQ(out, r.expected) << r.name;
    for (size_t i = static_cast<size_t>(r.size); i < sizeof out; ++i) ASSERT_EQ(out[i], '#') << r.name;
  }
  char untouched[4] = "xyz";
  EXPECT_EQ(EncodeURL(untouched, "a", 0), 0);
  EXPECT_STREQ(untouched, "xyz");
}

TEST(DecodeURL, PercentSequencesBecomeBytes) {
  struct row {
    const char* name;
    const char* input;
    int result;
    const char* expected;  // checked when the result is true
  } rows[] = {
      {"mixed case digits", "a%2fb%41", 1, "a/bA"},
      {"plus stays plus", "a+b", 1, "a+b"},
      {"high byte", "%FF%80", 1, "\xFF\x80"},
      {"trailing percent", "50%", 0, nullptr},
      {"one digit at the end", "50%4", 0, nullptr},
      {"bad digit", "%G1", 0, nullptr},
      {"null is empty", nullptr, 1, ""},
  };
  for (const auto& r : rows) {
    char out[32];
    EXPECT_EQ(DecodeURL(out, r.input, sizeof out), r.result) << r.name;
    if (r.expected != nullptr) {
      EXPECT_STREQ(out, r.expected) << r.name;
    }
    EXPECT_LT(std::strlen(out), sizeof out) << r.name;  // terminated either way
  }
}

TEST(DecodeURL, SizeOfInputPlusOneAlwaysDecodesInFull) {
  const char* input = "x%20y%2Fz+";
  const int size = static_cast<int>(std::strlen(input)) + 1;
  std::string out(size + 8, '#');
  EXPECT_EQ(DecodeURL(out.data(), input, size), 1);
  EXPECT_STREQ(out.c_str(), "x y/z+");
  // Decoding over its own buffer.
  char in_place[] = "%41%42c%44";
  EXPECT_EQ(DecodeURL(in_place, in_place, sizeof in_place), 1);
  EXPECT_STREQ(in_place, "ABcD");
}

TEST(DecodeURL, ReversesEncodeURLOnRandomBytes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    const std::string text = tambre::test::random_text(rng, rng() % 64);
    std::string encoded(text.size() * 3 + 1, '\0');
    ASSERT_EQ(EncodeURL(encoded.data(), text.c_str(), static_cast<int>(encoded.size())), 1);
    std::string decoded(encoded.size(), '\0');
    ASSERT_EQ(DecodeURL(decoded.data(), encoded.c_str(), static_cast<int>(decoded.size())), 1);
    ASSERT_EQ(std::string(decoded.c_str()), text);
  }
}

TEST(AnsiToUTF8, EveryByteRoundTripsThroughUTF8) {
  for (int c = 1; c < 256; ++c) {
    const char ansi[2] = {static_cast<char>(c), '\0'};
    char utf8[8], back[8];
    ASSERT_EQ(AnsiToUTF8(utf8, ansi, sizeof utf8), 1) << c;
    if (c == 0x80) {
      EXPECT_STREQ(utf8, "\xE2\x82\xAC") << "the euro sign of code page 1252";
    }
    ASSERT_EQ(UTF8ToAnsi(back, utf8, sizeof back), 1) << c;
    EXPECT_STREQ(back, ansi) << c;
  }
}

#if !defined(_WIN32)
// glibc's own CP1252 converter as the oracle of the native code page (it leaves the five
// unassigned bytes unmapped, so those are skipped).
TEST(AnsiToUTF8, AgreesWithIconvOnCodePage1252) {
  iconv_t cd = iconv_open("UTF-8", "CP1252");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int compared = 0;
  for (int c = 1; c < 256; ++c) {
    char in[2] = {static_cast<char>(c), '\0'};
    char expected[8] = {};
    char* in_p = in;
    char* out_p = expected;
    size_t in_left = 1, out_left = sizeof expected - 1;
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == static_cast<size_t>(-1)) continue;
    char ours[8];
    ASSERT_EQ(AnsiToUTF8(ours, in, sizeof ours), 1) << c;
    EXPECT_STREQ(ours, expected) << c;
    ++compared;
  }
  iconv_close(cd);
  EXPECT_GE(compared, 250);
}
#endif

TEST(AnsiToUTF8, FitsOnlyWithTheTerminatorAndNeverSplitsACharacter) {
  char out[8];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(AnsiToUTF8(out, "a\xE4", 4), 1);  // 61 C3 A4 00
  EXPECT_STREQ(out, "a\xC3\xA4");
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(AnsiToUTF8(out, "a\xE4", 3), 0);
  EXPECT_STREQ(out, "a");  // the cut never leaves half of the two-byte character
  EXPECT_EQ(out[3], '#');
}

TEST(AnsiToUTF8, RefusesNullAndSharedBuffers) {
  char text[16] = "abc";
  EXPECT_EQ(AnsiToUTF8(nullptr, "abc", 16), 0);
  EXPECT_EQ(AnsiToUTF8(text, text, sizeof text), 0);
  EXPECT_STREQ(text, "abc");
  char out[4] = "xyz";
  EXPECT_EQ(AnsiToUTF8(out, nullptr, sizeof out), 1);
  EXPECT_STREQ(out, "");
}

TEST(UTF8ToAnsi, WorksInPlaceAndMarksWhatTheCodePageLacks) {
  char text[32] =
      "Gr\xC3\xBC\xC3\x9F"
      "e";
  EXPECT_EQ(UTF8ToAnsi(text, text, sizeof text), 1);
  EXPECT_STREQ(text,
               "Gr\xFC\xDF"
               "e");
  char out[16];
  EXPECT_EQ(UTF8ToAnsi(out, "\xE2\x82\xAC\xE4\xB8\xAD", sizeof out), 1);  // euro, a CJK character
  EXPECT_STREQ(out, "\x80?");
  EXPECT_EQ(UTF8ToAnsi(nullptr, "a", 4), 0);
  EXPECT_EQ(UTF8ToAnsi(out, "abcdef", 4), 0);
  EXPECT_STREQ(out, "abc");
}

}  // namespace
