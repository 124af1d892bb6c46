#pragma once
// The user's separators and date order, read once at process attach. Float and time
// texts read them from here.

#include "sys/platform.h"

namespace tambre::locale {

struct locale_snapshot {
  char date_separator[2] = ".";
  char time_separator[2] = ":";
  char decimal_separator[2] = ".";
  char thousands_separator[2] = ",";
  char date_order[4] = "DMY";  // three of D, M, Y
};

// The snapshot in force: the one taken at process attach, or the initial values before.
const locale_snapshot& current_locale();

// Takes the snapshot of the user's settings; the DLL entry calls it at process attach.
void take_locale_snapshot();

// Fills `out` from a locale-item reader with the platform's semantics (characters
// written with the terminator, 0 on failure).
using locale_item_reader = int (*)(sys::locale_item item, char* buffer, int size);
void fill_locale_snapshot(locale_snapshot& out, locale_item_reader read);

// Separator by index: 0 date, 1 time, 2 decimal, 3 thousands; 0 for any other.
char separator_of(const locale_snapshot& snapshot, int which);

// Replaces the first `from` in s by `to`.
char* replace_first(char* s, char from, char to);

}  // namespace tambre::locale
