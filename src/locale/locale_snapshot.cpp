#include "locale/locale_snapshot.h"

#include <cstring>

namespace tambre::locale {

namespace {

locale_snapshot live;

// One separator: the item's single character when it is one of `accepted`, else the
// fallback. A longer separator does not fit the two-character buffer and fails the query.
void read_separator(locale_item_reader read, sys::locale_item item, const char* accepted, char fallback, char* out) {
  char buffer[2] = {0, 0};
  int n = read(item, buffer, sizeof buffer);
  out[0] = n > 0 && buffer[0] != '\0' && std::strchr(accepted, buffer[0]) != nullptr ? buffer[0] : fallback;
  out[1] = '\0';
}

void read_date_order(locale_item_reader read, char* order) {
  char pattern[64] = {};
  if (read(sys::locale_item::short_date, pattern, sizeof pattern) <= 0) {
    std::memcpy(order, "DMY", 4);
    return;
  }
  pattern[sizeof pattern - 1] = '\0';
  for (char* p = pattern; *p != '\0'; ++p) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  }
  char taken[64];
  int count = 0;
  const char* delimiters = "\\/.-";
  for (char* p = pattern; *p != '\0';) {
    while (*p != '\0' && std::strchr(delimiters, *p) != nullptr) ++p;
    if (*p == '\0') break;
    // The first letter of each token, as long as the letters are D, M or Y.
    if (*p != 'D' && *p != 'M' && *p != 'Y') break;
    taken[count++] = *p;
    while (*p != '\0' && std::strchr(delimiters, *p) == nullptr) ++p;
  }
  if (count >= 3) {
    std::memcpy(order, taken, 3);
    order[3] = '\0';
  }
}

}  // namespace

const locale_snapshot& current_locale() { return live; }

void fill_locale_snapshot(locale_snapshot& out, locale_item_reader read) {
  read_separator(read, sys::locale_item::date_separator, "\\/.-", '.', out.date_separator);
  read_separator(read, sys::locale_item::time_separator, ":.,", ':', out.time_separator);
  read_separator(read, sys::locale_item::decimal_separator, ".,", '.', out.decimal_separator);
  read_separator(read, sys::locale_item::thousands_separator, ".,", '.', out.thousands_separator);
  read_date_order(read, out.date_order);
}

char separator_of(const locale_snapshot& s, int which) {
  switch (which) {
    case 0:
      return s.date_separator[0];
    case 1:
      return s.time_separator[0];
    case 2:
      return s.decimal_separator[0];
    case 3:
      return s.thousands_separator[0];
    default:
      return 0;
  }
}

char* replace_first(char* s, char from, char to) {
  if (s == nullptr) return s;
  char* at = std::strchr(s, from);
  if (at != nullptr && from != '\0') *at = to;
  return s;
}

// Runs once at process attach, before any caller can read the snapshot.
void take_locale_snapshot() { fill_locale_snapshot(live, sys::read_locale_item); }

}  // namespace tambre::locale
