// The string utilities: each function's rules in tables, what breaks them in practice
// (overlap, growth and shrink in place, buffer ends, per-thread state), C library oracles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <fnmatch.h>
#include <strings.h>
#endif

#include "tambre32/strutil.h"

namespace {

TEST(Strxcpy, CopiesAtMostSizeMinusOneAndTerminates) {
  const struct {
    const char* name;
    const char* src;
    unsigned size;
    const char* expected;
  } cases[] = {
      {"cut", "abcdef", 4, "abc"}, {"size one", "abcdef", 1, ""}, {"size zero counts as one", "abc", 0, ""},
      {"fits", "abc", 4, "abc"},   {"empty", "", 8, ""},
  };
  for (const auto& c : cases) {
    char buffer[72];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(strxcpy(buffer, c.src, c.size), buffer) << c.name;
    EXPECT_STREQ(buffer, c.expected) << c.name;
    // Nothing behind the terminator is touched.
    const size_t used = std::strlen(c.expected) + 1;
    for (size_t i = used; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << c.name << " byte " << i;
  }
}

TEST(Strsubst, ReplacesInPlaceWithoutRescanningInsertions) {
  const struct {
    const char *name, *input, *find, *repl, *expected;
  } cases[] = {
      {"growth is not searched again", "aaa", "a", "aa", "aaaaaa"},
      {"removal", "xabyab", "ab", "", "xy"},
      {"shrink", "<<x>><<y>>", "<<", "[", "[x>>[y>>"},
      {"replacement contains find", "ab", "a", "bab", "babb"},
      {"empty find", "abc", "", "y", "abc"},
      {"whole string", "abc", "abc", "", ""},
  };
  for (const auto& c : cases) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, c.input);
    EXPECT_EQ(strsubst(buffer, c.find, c.repl), buffer) << c.name;
    EXPECT_STREQ(buffer, c.expected) << c.name;
  }
}

TEST(StringCompare, EqualityAndPrefixWithAndWithoutCase) {
  const struct {
    const char *a, *b;
    int equal, iequal, nequal, niequal;
  } cases[] = {
      {"DAY-1D", "DAY", 0, 0, 1, 1}, {"DA", "DAY", 0, 0, 0, 0},  {"day", "DAY", 0, 1, 0, 1},
      {"abc", "abc", 1, 1, 1, 1},    {"", "", 1, 1, 1, 1},       {"abc", "", 0, 0, 1, 1},
      {"aBc", "AbC", 0, 1, 0, 1},    {"ab[", "AB{", 0, 0, 0, 0}, {"Zoo", "zOO", 0, 1, 0, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(strequal(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(striequal(c.a, c.b), c.iequal) << c.a << " / " << c.b;
    EXPECT_EQ(strnequal(c.a, c.b), c.nequal) << c.a << " / " << c.b;
    EXPECT_EQ(strniequal(c.a, c.b), c.niequal) << c.a << " / " << c.b;
  }
}

// The empty text and the first-occurrence rule of several stars; simpler patterns are
// compared with fnmatch below.
TEST(Strmatch, WildcardsIgnoringCaseWithoutBacktracking) {
  const struct {
    const char *s, *pattern;
    int expected;
  } cases[] = {
      {"", "*", 1},         {"", "*a", 1},  // an empty text matches any pattern that begins with '*'
      {"", "a", 0},         {"", "", 1},         {"abxabcd", "*ab?d", 0},  // the first "ab" is taken
      {"abcd", "*ab?d", 1}, {"xaby", "*ab*", 1}, {"aXbXc", "a*b*c", 1},
      {"abcbd", "a*b?", 0},  // "b" is taken at the first b and "?d" is then one too short
      {"abcb", "a*b?", 0},  {"ab", "a**b", 1},   {"ab", "a*?b", 1},  // '?' behind '*' consumes nothing
      {"x?", "*?", 1},      {"abc", "**", 1},    {"a", "a**", 0},    // only a lone '*' may remain
  };
  for (const auto& c : cases) {
    EXPECT_EQ(strmatch(c.s, c.pattern), c.expected) << '"' << c.s << "\" ~ \"" << c.pattern << '"';
  }
}

TEST(Strtrim, ModesRemoveLeadingAndTrailingBlanks) {
  const struct {
    const char* input;
    int mode;
    const char* expected;
  } cases[] = {{"  a b \t\n", 3, "a b"},
               {"  a b \t\n", 2, "  a b"},
               {"  a b \t\n", 1, "a b \t\n"},
               {" \t\r\n", 3, ""},
               {"", 3, ""}};
  for (const auto& c : cases) {
    char buffer[32];
    std::strcpy(buffer, c.input);
    EXPECT_EQ(strtrim(buffer, c.mode), buffer);
    EXPECT_STREQ(buffer, c.expected) << "mode " << c.mode << " on \"" << c.input << '"';
  }
}

std::vector<std::string> all_fields(const char* text, const char* delims) {
  std::vector<char> buffer(text, text + std::strlen(text) + 1);
  std::vector<std::string> fields;
  for (char* f = strtoks(buffer.data(), delims); f != nullptr; f = strtoks(nullptr, delims)) fields.emplace_back(f);
  return fields;
}

TEST(Strtoks, KeepsEmptyFieldsButNoTrailingOne) {
  using fields = std::vector<std::string>;
  EXPECT_EQ(all_fields("a,,b", ","), (fields{"a", "", "b"}));
  EXPECT_EQ(all_fields("a,", ","), (fields{"a"}));
  EXPECT_EQ(all_fields(",a", ","), (fields{"", "a"}));
  EXPECT_EQ(all_fields("", ","), (fields{}));
  EXPECT_EQ(all_fields("a;b,c", ",;"), (fields{"a", "b", "c"}));
  EXPECT_EQ(all_fields("a,b", nullptr), (fields{"a,b"}));
  EXPECT_EQ(strtoks(nullptr, ","), nullptr);  // exhausted stays exhausted
}

// A thread that tokenizes a text of its own between two calls leaves this thread's
// position alone.
TEST(Strtoks, EachThreadKeepsItsOwnPosition) {
  char mine[] = "a0,b0", other[] = "a1;b1";
  EXPECT_STREQ(strtoks(mine, ","), "a0");
  std::thread([&] {
    EXPECT_STREQ(strtoks(other, ";"), "a1");
    EXPECT_STREQ(strtoks(nullptr, ";"), "b1");
    EXPECT_EQ(strtoks(nullptr, ";"), nullptr);
  }).join();
  EXPECT_STREQ(strtoks(nullptr, ","), "b0");
  EXPECT_EQ(strtoks(nullptr, ","), nullptr);
}

TEST(SmallHelpers, StrmoveStrspaceShortfilenameStrcutlastStrfill) {
  char forward[16] = "abcdef";
  strmove(forward + 2, forward);  // destination behind the source
  EXPECT_STREQ(forward, "ababcdef");
  char backward[16] = "abcdef";
  strmove(backward, backward + 2);  // destination before the source
  EXPECT_STREQ(backward, "cdef");
  char blanks[] = "a\tb\nc\vd\fe\rf\x08g";
  EXPECT_STREQ(strspace(blanks), "a b c d e f\x08g");

  const char* path = "C:\\dir\\file.txt";
  EXPECT_EQ(shortfilename(path), path + 7);
  const char* unix_path = "dir/file.txt";
  EXPECT_EQ(shortfilename(unix_path), unix_path);
  const char* trailing = "C:\\dir\\";
  EXPECT_STREQ(shortfilename(trailing), "");

  char time[] = "12:30:";
  EXPECT_STREQ(strcutlast(time, ':'), "12:30");
  EXPECT_STREQ(strcutlast(time, ':'), "12:30");
  char empty[] = "";
  EXPECT_STREQ(strcutlast(empty, ':'), "");

  char fill[8];
  std::memset(fill, '#', sizeof fill);
  EXPECT_EQ(strfill(fill, 's', 3), 3);
  EXPECT_STREQ(fill, "sss");
  EXPECT_EQ(fill[4], '#');
  EXPECT_EQ(strfill(fill, 's', -2), -2);
  EXPECT_STREQ(fill, "");
}

TEST(Strmatchtoken, MatchesSingleOrAnyListWordIgnoringCase) {
  EXPECT_EQ(strmatchtoken("csv", "txt|CSV|xls", ""), 1);
  EXPECT_EQ(strmatchtoken("", "a||b", ""), 0);  // empty words are skipped
  EXPECT_EQ(strmatchtoken("DAT", "txt|csv", "dat"), 1);
  EXPECT_EQ(strmatchtoken("cs", "txt|csv", nullptr), 0);
  EXPECT_EQ(strmatchtoken("csvx", "txt|csv", nullptr), 0);
  EXPECT_EQ(strmatchtoken("b", "a|b|", nullptr), 1);
  // Only the first 159 characters of the list count.
  std::string list(154, 'x');
  list += "|abcd|efgh";  // "abcd" ends at 159, "efgh" lies beyond
  EXPECT_EQ(strmatchtoken("abcd", list.c_str(), nullptr), 1);
  EXPECT_EQ(strmatchtoken("efgh", list.c_str(), nullptr), 0);
  EXPECT_EQ(strmatchtoken("abc", (std::string(155, 'x') + "|abcd").c_str(), nullptr), 1);
}

TEST(NullArguments, GiveEmptyResultsInsteadOfCrashing) {
  char buffer[4] = "abc";
  EXPECT_EQ(strxcpy(nullptr, "a", 4), nullptr);
  EXPECT_STREQ(strxcpy(buffer, nullptr, 4), "");
  EXPECT_EQ(stristr(nullptr, "a"), nullptr);
  EXPECT_EQ(strmatch(nullptr, "*"), 1);
  EXPECT_EQ(strequal(nullptr, ""), 1);
  EXPECT_EQ(shortfilename(nullptr), nullptr);
  EXPECT_EQ(strtrim(nullptr, 3), nullptr);
  EXPECT_EQ(strmatchtoken(nullptr, nullptr, nullptr), 0);
}

#if !defined(_WIN32)
std::string random_text(std::mt19937& rng, const char* alphabet, int max_length) {
  std::uniform_int_distribution<int> length(0, max_length);
  std::uniform_int_distribution<size_t> pick(0, std::strlen(alphabet) - 1);
  std::string s(length(rng), ' ');
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

TEST(Oracle, StristrAgreesWithStrcasestr) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    std::string s = random_text(rng, "aAbB", 12);
    std::string find = random_text(rng, "abAB", 3);
    const char* expected = strcasestr(s.c_str(), find.c_str());
    ASSERT_EQ(stristr(s.c_str(), find.c_str()), expected) << s << " / " << find;
  }
}

TEST(Oracle, StrmatchIsSoundAndExactWithoutInnerStars) {
  std::mt19937 rng(11);
  for (int i = 0; i < 50000; ++i) {
    std::string s = random_text(rng, "aAb", 8);
    std::string pattern = random_text(rng, i % 2 ? "ab*" : "ab?", 6);
    const int full = fnmatch(pattern.c_str(), s.c_str(), FNM_CASEFOLD) == 0;
    const int ours = strmatch(s.c_str(), pattern.c_str());
    if (s.empty()) continue;  // an empty text matches every pattern that begins with '*'
    // Whatever the first-occurrence rule accepts, the backtracking matcher accepts too.
    if (ours == 1) {
      ASSERT_EQ(full, 1) << s << " ~ " << pattern;
    }
    // With a single '*' (or only '?'), the comparison of the rest with the end makes the
    // two agree.
    if (std::count(pattern.begin(), pattern.end(), '*') <= 1) {
      ASSERT_EQ(ours, full) << s << " ~ " << pattern;
    }
  }
}

#endif

}  // namespace
