// Display patterns: written from flag words, read back, and the two against each other
// over every flag word a pattern can express.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tambre32/formatpattern.h"
#include "time/format_pattern.h"

namespace tt = tambre::time;

namespace {

std::string pattern(unsigned flags, int decimals) {
  char out[tt::pattern_size];
  tt::format_pattern(out, flags, decimals);
  return out;
}

constexpr unsigned all_forms = 0x0F80;

}  // namespace

TEST(FormatPattern, Written) {
  struct row {
    unsigned flags;
    int decimals;
    const char* expected;
  };
  const row rows[] = {
      {0x0008, 2, "#####.##"}, {0x0408, 2, "0#####.##"},
      {0x080C, 3, "E###.###"}, {0x0088, 0, "bbbbbbbb"},
      {0x0104, 0, "xxxx"},     {0x0200, 2, "hh:mm:ss.ss"},
      {0x021F, 0, "hh:mm:ss"}, {0x063E, 0, "DD.MM.YYYY HH:MM"},
      {0x0618, 0, "DD.MM."},   {0x067F, 0, "W DD.MM.YYYY HH:MM:SS"},
      {0x0603, 0, "MM:SS"},    {0x0600, 0, ""},
      {0x0C08, 0, "0E###"},    {0x0803, 1, "E.#"},
      {0x0002, 3, ".###"},
  };
  for (const row& r : rows) EXPECT_EQ(pattern(r.flags, r.decimals), r.expected) << std::hex << r.flags;
  EXPECT_EQ(pattern(0x0200, 200).size(), 79u) << "cut to 79 characters";
  EXPECT_EQ(FormatStrLen(0x0408, 2), 8) << "the field width, not the pattern's length";
}

// The restricted forms, the near misses and the readings that differ from the writing
// (what every written pattern reads back as is the round trip's below).
TEST(FormatPattern, Read) {
  struct row {
    const char* text;
    unsigned allowed;
    bool read;
    unsigned flags, decimals;
  };
  const row rows[] = {
      {"  #####.##  ", 0, true, 0x0008, 2},
      {"0###", all_forms, true, 0x0403, 0},
      {"0###", 0, false, 0, 0},
      {"0E###", all_forms, true, 0x0808, 0},
      {"bbbb", 0x0100, false, 0, 0},
      {"xxxx", 0x0100, true, 0x0104, 0},
      {"Exxxx", all_forms, false, 0, 0},
      {"hh:mm:ss", 0x0200, true, 0x0211, 0},
      {"hh:mm", all_forms, false, 0, 0},
      {"DD.MM.YYYY HH:MM", 0x0400, true, 0x063E, 0},
      {"DD.MM", all_forms, true, 0x0608, 0},
      {"MM:SS", all_forms, true, 0x0601, 0},
      {"DD.MM.YYYY", 0x0080, false, 0, 0},
      {"##.##.##", all_forms, false, 0, 0},
      {"################################", 0, true, 32, 0},
      {"#################################", 0, false, 0, 0},
      {"#.##", 0, true, 0x0004, 2},
      {".###", 0, false, 0, 0},
      {"", all_forms, false, 0, 0},
  };
  for (const row& r : rows) {
    unsigned flags = 0xDEAD, decimals = 0xBEEF;
    EXPECT_EQ(tt::scan_pattern(r.text, flags, decimals, r.allowed), r.read) << r.text;
    if (r.read) {
      EXPECT_EQ(flags, r.flags) << r.text;
      EXPECT_EQ(decimals, r.decimals) << r.text;
    } else {
      EXPECT_EQ(flags, 0xDEADu) << "untouched: " << r.text;
      EXPECT_EQ(decimals, 0xBEEFu) << "untouched: " << r.text;
    }
  }
  unsigned short flags = 7, decimals = 7;
  EXPECT_EQ(ScanFormat(nullptr, &flags, &decimals, 0), 0);
  EXPECT_EQ(ScanFormat("###", nullptr, &decimals, 0), 0);
  EXPECT_EQ(ScanFormat("###", &flags, &decimals, 0), 1);
  EXPECT_EQ(flags, 3);
}

// Every flag word and decimal count: what a pattern reads as is stable under a second
// round, and every word of the expressible forms reads back to itself.
TEST(FormatPattern, EveryFlagWordRoundTrips) {
  int expressible = 0;
  for (unsigned form : {0x0000u, 0x0400u, 0x0800u, 0x0080u, 0x0480u, 0x0100u, 0x0500u, 0x0200u, 0x0600u}) {
    for (unsigned width = 0; width < 128; ++width) {
      for (int decimals = 0; decimals <= 34; ++decimals) {
        const unsigned flags = form | width;
        std::string text = pattern(flags, decimals);
        unsigned f = 0, d = 0;
        bool read = tt::scan_pattern(text.c_str(), f, d, all_forms);
        if (read) {
          // What was read writes a pattern that reads back to itself (MM:SS reads as the
          // seconds only, whose pattern is SS).
          unsigned f2 = 0, d2 = 0;
          ASSERT_TRUE(tt::scan_pattern(pattern(f, static_cast<int>(d)).c_str(), f2, d2, all_forms)) << text;
          EXPECT_EQ(f2, f) << text;
          EXPECT_EQ(d2, d) << text;
        }
        // The words a pattern expresses exactly.
        bool integer = (form & 0x0180) != 0;
        bool plain = (form & 0x0200) == 0;
        int digits = (form & 0x0800) != 0 ? static_cast<int>(width) - 5 : static_cast<int>(width);
        bool exact = false;
        if (plain && width <= 32) {
          exact = integer ? decimals == 0 && width >= 1 : decimals == 0 ? digits >= 1 : decimals <= digits - 2;
        } else if (form == 0x0600) {
          // ":MM" selects the minutes, so they need the hours before them.
          exact = width >= 1 && decimals == 0 && ((width & 0x02) == 0 || (width & 0x04) != 0);
        } else if (form == 0x0200) {
          exact = width == static_cast<unsigned>(17 + (decimals != 0 ? decimals + 1 : 0)) && width <= 32;
        }
        if (exact) {
          ++expressible;
          ASSERT_TRUE(read) << std::hex << flags << " " << decimals << " " << text;
          EXPECT_EQ(f, flags) << text;
          EXPECT_EQ(d, static_cast<unsigned>(decimals)) << text;
        }
      }
    }
  }
  EXPECT_GT(expressible, 1500) << "the expressible words were all visited";
}
