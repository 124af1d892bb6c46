// The separators the library snapshots at load, in test processes started with a German
// and an English user locale (Wine takes the user locale from the process's locale
// environment; see the ctest entries).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "support/process_setting.h"
#include "tambre32/locale.h"

namespace {

// The snapshot agrees with the platform's own answer for the separators.
void expect_platform_separators() {
  char decimal[8] = {}, thousands[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, sizeof thousands);
  EXPECT_EQ(lcGetSeparator(2), decimal[0]);
  if (std::strlen(thousands) == 1 && std::strchr(".,", thousands[0]) != nullptr) {
    EXPECT_EQ(lcGetSeparator(3), thousands[0]);
  } else {
    EXPECT_EQ(lcGetSeparator(3), '.');
  }
}

// Date, time, decimal and thousands separators, and no fifth one.
void expect_separators(const char* expected) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(lcGetSeparator(i), expected[i]) << i;
  EXPECT_EQ(lcGetSeparator(7), 0);
  expect_platform_separators();
}

}  // namespace

TEST(LocaleGerman, Separators) {
  TAMBRE_REQUIRE_PROCESS_SETTING("german");
  ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_GERMAN) << "the child has no German locale";
  expect_separators(".:,.");
  char text[] = "3.5";
  EXPECT_STREQ(lcFloatConv(text), "3,5");
  EXPECT_STREQ(lcConvFloat(text), "3.5");
}

TEST(LocaleEnglish, Separators) {
  TAMBRE_REQUIRE_PROCESS_SETTING("english");
  ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_ENGLISH);
  expect_separators("/:.,");
  char text[] = "3.5";
  EXPECT_STREQ(lcFloatConv(text), "3.5");
}

TEST(LocalePlatform, SnapshotAgreesWithPlatform) { expect_platform_separators(); }
