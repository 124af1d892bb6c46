// The library's string table: natively compiled in, on Windows the STRINGTABLE resource;
// the same rows, code page 1252 bytes included, on both.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sys/platform.h"

namespace {

using tambre::sys::load_library_string;

TEST(LibraryStrings, SameTextsOnEveryPlatformCutToTheBufferEmptyWhenMissing) {
  const struct {
    unsigned id;
    const char* text;
  } rows[] = {
      {1, "Treiber"},
      {201, "Der letzte Vorgang konnte nicht erfolgreich ausgef\xfchrt werden. \nWindows meldet:\n\n"},
      {202, "Systemmeldung"},
  };
  for (const auto& r : rows) {
    char buffer[512];
    EXPECT_EQ(load_library_string(r.id, buffer, sizeof buffer), std::strlen(r.text)) << r.id;
    EXPECT_STREQ(buffer, r.text) << r.id;
  }
  char small[5];
  EXPECT_EQ(load_library_string(202, small, sizeof small), 4u);
  EXPECT_STREQ(small, "Syst");
  char buffer[16] = "old";
  EXPECT_EQ(load_library_string(4711, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(load_library_string(1, nullptr, 10), 0u);
}

}  // namespace
