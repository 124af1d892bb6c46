// Hexadecimal, URL and code-page texts: the rules in one table, round trips over every
// byte, and what a caller's buffer looks like after a failure.
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

// Each conversion as (out, in, n) -> 1 on success; n is the input length of StrToHex,
// unused by HexToStr and the output size of the others.
using conversion = int(TAMBRE_STDCALL*)(char*, const char*, int);
int TAMBRE_STDCALL to_hex(char* out, const char* in, int length) { return StrToHex(out, in, length) == out; }
int TAMBRE_STDCALL from_hex(char* out, const char* in, int) { return HexToStr(out, in) == out; }

TEST(TextEncodings, RulesAndWhatAFailureLeaves) {
  const struct {
    const char* name;
    conversion convert;
    const char* in;
    int n, result;
    const char* out;
  } rows[] = {
      {"hex of the whole text", to_hex, "AZ", -1, 1, "415A"},
      {"hex: a length past the terminator stops there", to_hex, "AZ", 10, 1, "415A"},
      {"hex of length zero", to_hex, "AZ", 0, 1, ""},
      {"hex of high bytes", to_hex, "\xFF\x80\x0F", -1, 1, "FF800F"},
      {"hex read in lower case", from_hex, "415a", 0, 1, "AZ"},
      {"empty hex", from_hex, "", 0, 1, ""},
      {"hex with a colon", from_hex, "41:5", 0, 0, ""},
      {"hex of an odd count", from_hex, "415", 0, 0, ""},
      {"hex letter past F", from_hex, "4G", 0, 0, ""},
      {"URL: every reserved one, plus too", EncodeURL, " !#$%&'()*+,/:;=?@[]", 128, 1,
       "%20%21%23%24%25%26%27%28%29%2A%2B%2C%2F%3A%3B%3D%3F%40%5B%5D"},
      {"URL: unreserved punctuation stays", EncodeURL, "-_.~\"<>\\^`{|}", 128, 1, "-_.~\"<>\\^`{|}"},
      {"URL: control and high bytes", EncodeURL, "\t\x7F\x80\xFF", 128, 1, "%09\x7F%80%FF"},
      {"URL: null is empty", EncodeURL, nullptr, 128, 1, ""},
      {"URL: room for a and the terminator only", EncodeURL, "a b/c", 4, 0, "a"},  // "%20" needs 4 with 2 left
      {"URL: room for a%20", EncodeURL, "a b/c", 5, 0, "a%20"},                    // b needs 2, 1 left
      {"URL: exactly enough", EncodeURL, "a b/c", 10, 1, "a%20b%2Fc"},
      {"URL: one short", EncodeURL, "a b/c", 9, 0, "a%20b%2F"},
      {"URL: size one", EncodeURL, "a b/c", 1, 0, ""},
      {"decoded: mixed case digits", DecodeURL, "a%2fb%41", 32, 1, "a/bA"},
      {"decoded: plus stays plus", DecodeURL, "a+b", 32, 1, "a+b"},
      {"decoded: trailing percent", DecodeURL, "50%", 32, 0, "50"},
      {"decoded: one digit at the end", DecodeURL, "50%4", 32, 0, "50"},
      {"decoded: bad digit", DecodeURL, "%G1", 32, 0, ""},
      {"decoded: null is empty", DecodeURL, nullptr, 32, 1, ""},
      {"decoded: the input's size plus one is enough", DecodeURL, "x%20y%2Fz+", 11, 1, "x y/z+"},
      {"UTF-8 fits with its terminator", AnsiToUTF8, "a\xE4", 4, 1, "a\xC3\xA4"},
      {"UTF-8 never split", AnsiToUTF8, "a\xE4", 3, 0, "a"},
      {"UTF-8 of null is empty", AnsiToUTF8, nullptr, 4, 1, ""},
      {"code page lacks a character", UTF8ToAnsi, "\xE2\x82\xAC\xE4\xB8\xAD", 16, 1, "\x80?"},  // euro, CJK
      {"code page text cut", UTF8ToAnsi, "abcdef", 4, 0, "abc"},
  };
  for (const auto& r : rows) {
    char out[128];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(r.convert(out, r.in, r.n), r.result) << r.name;
    EXPECT_STREQ(out, r.out) << r.name;
    if (r.convert == to_hex || r.convert == from_hex) continue;
    for (int i = r.n; i < static_cast<int>(sizeof out); ++i) ASSERT_EQ(out[i], '#') << r.name << " byte " << i;
  }
  char untouched[4] = "xyz";
  EXPECT_EQ(EncodeURL(untouched, "a", 0), 0);
  EXPECT_EQ(AnsiToUTF8(nullptr, "abc", 16) + UTF8ToAnsi(nullptr, "a", 4), 0);
  EXPECT_EQ(AnsiToUTF8(untouched, untouched, sizeof untouched), 0) << "the UTF-8 text cannot share its source";
  EXPECT_STREQ(untouched, "xyz");
}

TEST(TextEncodings, OutputOverTheInput) {
  char same[16] = "AZ!";
  StrToHex(same, same, -1);
  EXPECT_STREQ(same, "415A21");
  char behind[32] = "xxxxxxxxAZ!";  // output starts before the input
  StrToHex(behind + 5, behind + 8, -1);
  EXPECT_STREQ(behind + 5, "415A21");
  char ahead[32] = "AZ!";  // output starts inside the input
  StrToHex(ahead + 1, ahead, -1);
  EXPECT_STREQ(ahead + 1, "415A21");
  char decoded[] = "%41%42c%44";
  EXPECT_EQ(DecodeURL(decoded, decoded, sizeof decoded), 1);
  EXPECT_STREQ(decoded, "ABcD");
  char text[32] =
      "Gr\xC3\xBC\xC3\x9F"
      "e";
  EXPECT_EQ(UTF8ToAnsi(text, text, sizeof text), 1);
  EXPECT_STREQ(text,
               "Gr\xFC\xDF"
               "e");
}

TEST(TextEncodings, HexRoundTripsEveryNonZeroByteInPlace) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string buffer(all.size() * 2 + 1, '\0');
  ASSERT_NE(StrToHex(buffer.data(), all.c_str(), -1), nullptr);
  ASSERT_EQ(std::strlen(buffer.c_str()), all.size() * 2);
  ASSERT_EQ(HexToStr(buffer.data(), buffer.c_str()), buffer.data());  // decoded over its own text
  EXPECT_EQ(std::string(buffer.c_str()), all);
}

TEST(TextEncodings, DecodeURLReversesEncodeURLOnRandomBytes) {
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

// Every byte through UTF-8 and back; natively glibc's own CP1252 converter is the oracle
// of the way there (it leaves the five unassigned bytes unmapped).
TEST(TextEncodings, EveryByteRoundTripsThroughUTF8) {
#if !defined(_WIN32)
  iconv_t cd = iconv_open("UTF-8", "CP1252");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int compared = 0;
#endif
  for (int c = 1; c < 256; ++c) {
    char ansi[2] = {static_cast<char>(c), '\0'};
    char utf8[8], back[8];
    ASSERT_EQ(AnsiToUTF8(utf8, ansi, sizeof utf8), 1) << c;
#if !defined(_WIN32)
    char expected[8] = {};
    char* in_p = ansi;
    char* out_p = expected;
    size_t in_left = 1, out_left = sizeof expected - 1;
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) != static_cast<size_t>(-1)) {
      EXPECT_STREQ(utf8, expected) << c;
      ++compared;
    }
#endif
    if (c == 0x80) {
      EXPECT_STREQ(utf8, "\xE2\x82\xAC") << "the euro sign of code page 1252";
    }
    ASSERT_EQ(UTF8ToAnsi(back, utf8, sizeof back), 1) << c;
    EXPECT_STREQ(back, ansi) << c;
  }
#if !defined(_WIN32)
  iconv_close(cd);
  EXPECT_GE(compared, 250);
#endif
}

}  // namespace
