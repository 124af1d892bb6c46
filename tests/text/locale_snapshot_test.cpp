// The locale snapshot from injected locale items, and the separator functions on it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "locale/locale_snapshot.h"
#include "tambre32/locale.h"

using tambre::locale::locale_snapshot;
using tambre::sys::locale_item;

namespace {

// The items the injected reader answers with; a missing item fails its query.
std::map<locale_item, std::string> items;

int read_item(locale_item item, char* buffer, int size) {
  auto it = items.find(item);
  if (it == items.end() || static_cast<int>(it->second.size()) + 1 > size) return 0;
  std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
  return static_cast<int>(it->second.size()) + 1;
}

struct snapshot_row {
  const char* name;
  std::map<locale_item, std::string> items;
  const char* expected;  // date, time, decimal, thousands separators and the date order
};

std::string describe(const locale_snapshot& s) {
  return std::string(s.date_separator) + s.time_separator + s.decimal_separator + s.thousands_separator + s.date_order;
}

const std::map<locale_item, std::string> german = {{locale_item::date_separator, "."},
                                                   {locale_item::time_separator, ":"},
                                                   {locale_item::decimal_separator, ","},
                                                   {locale_item::thousands_separator, "."},
                                                   {locale_item::short_date, "dd.MM.yyyy"}};

std::map<locale_item, std::string> german_with(locale_item item, const char* value) {
  auto m = german;
  m[item] = value;
  return m;
}

}  // namespace

TEST(LocaleSnapshot, ItemsAndFallbacks) {
  const snapshot_row rows[] = {
      {"german", german, ".:,.DMY"},
      {"english",
       {{locale_item::date_separator, "/"},
        {locale_item::time_separator, ":"},
        {locale_item::decimal_separator, "."},
        {locale_item::thousands_separator, ","},
        {locale_item::short_date, "M/d/yyyy"}},
       "/:.,MDY"},
      {"backslash date", german_with(locale_item::date_separator, "\\"), "\\:,.DMY"},
      {"apostrophe thousands", german_with(locale_item::thousands_separator, "'"), ".:,.DMY"},
      {"comma thousands", german_with(locale_item::thousands_separator, ","), ".:,,DMY"},
      {"blank date separator", german_with(locale_item::date_separator, " "), ".:,.DMY"},
      {"dot time separator", german_with(locale_item::time_separator, "."), "..,.DMY"},
      {"empty decimal", german_with(locale_item::decimal_separator, ""), ".:..DMY"},
      {"nothing readable", {}, ".:..DMY"},
  };
  for (const auto& row : rows) {
    items = row.items;
    locale_snapshot s;
    tambre::locale::fill_locale_snapshot(s, read_item);
    EXPECT_EQ(describe(s), row.expected) << row.name;
  }
}

TEST(LocaleSnapshot, DateOrderKeptUnlessThreeFields) {
  struct row {
    const char* name;
    const char* pattern;  // nullptr: the query fails
    const char* expected;
  } rows[] = {
      {"two fields keep the order", "MM.yyyy", "YMD"},
      {"blank-separated is one token", "dd MMM yyyy", "YMD"},
      {"a non-date token stops", "dd.'x'.MM.yyyy", "YMD"},
      {"month first", "MM-dd-yy", "MDY"},
      {"unreadable pattern", nullptr, "DMY"},
  };
  for (const auto& r : rows) {
    items = german;
    if (r.pattern != nullptr)
      items[locale_item::short_date] = r.pattern;
    else
      items.erase(locale_item::short_date);
    locale_snapshot s;
    std::strcpy(s.date_order, "YMD");
    tambre::locale::fill_locale_snapshot(s, read_item);
    EXPECT_STREQ(s.date_order, r.expected) << r.name;
  }
}

TEST(LocaleSeparators, ByIndex) {
  items = german;
  locale_snapshot s;
  tambre::locale::fill_locale_snapshot(s, read_item);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(tambre::locale::separator_of(s, i), ".:,."[i]) << i;
  EXPECT_EQ(tambre::locale::separator_of(s, 4), 0);
  EXPECT_EQ(tambre::locale::separator_of(s, -1), 0);
  EXPECT_EQ(lcGetSeparator(7), 0);
  EXPECT_EQ(lcGetSeparator(2), tambre::locale::current_locale().decimal_separator[0]);
}

TEST(LocaleSeparators, FirstOccurrenceOnly) {
  struct row {
    const char* in;
    char from, to;
    const char* out;
  } rows[] = {
      {"3.5", '.', ',', "3,5"}, {"1.2.3", '.', ',', "1,2.3"}, {"no point", '.', ',', "no point"},
      {"", '.', ',', ""},       {"3.5", '.', '.', "3.5"},
  };
  for (const auto& r : rows) {
    char buffer[16];
    std::strcpy(buffer, r.in);
    EXPECT_EQ(tambre::locale::replace_first(buffer, r.from, r.to), buffer);
    EXPECT_STREQ(buffer, r.out) << r.in;
  }
  EXPECT_EQ(lcFloatConv(nullptr), nullptr);
  EXPECT_EQ(lcConvFloat(nullptr), nullptr);
  // The exported pair is a round trip on the snapshot in force.
  char text[] = "3.5.7";
  lcFloatConv(text);
  EXPECT_EQ(text[1], lcGetSeparator(2));
  lcConvFloat(text);
  EXPECT_STREQ(text, "3.5.7");
}

#if !defined(_WIN32)
// The native seam reads the C library's locale: the "C" locale writes dates as
// %m/%d/%y and has no thousands separator.
TEST(LocaleSnapshot, NativeSeamInTheCLocale) {
  const char* old = std::getenv("LC_ALL");
  std::string kept = old != nullptr ? old : "";
  setenv("LC_ALL", "C", 1);
  locale_snapshot s;
  tambre::locale::fill_locale_snapshot(s, tambre::sys::read_locale_item);
  if (old != nullptr)
    setenv("LC_ALL", kept.c_str(), 1);
  else
    unsetenv("LC_ALL");
  EXPECT_EQ(describe(s), "/:..MDY");
}
#endif
