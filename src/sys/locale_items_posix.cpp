// Locale items for the native build, from the environment's C library locale. The short
// date pattern is rebuilt from the locale's date format ("%d.%m.%Y" reads "dd.MM.yyyy").
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string>

#include "sys/platform.h"

namespace tambre::sys {

namespace {

std::string date_pattern(const char* format) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    if (*++p == '\0') break;
    switch (*p) {
      case 'd':
      case 'e':
        out += "dd";
        break;
      case 'm':
        out += "MM";
        break;
      case 'y':
        out += "yy";
        break;
      case 'Y':
        out += "yyyy";
        break;
      case 'D':
        out += "MM/dd/yy";
        break;
      case 'F':
        out += "yyyy-MM-dd";
        break;
      default:
        break;
    }
  }
  return out;
}

// The first character of the time format that is not part of a conversion.
std::string time_separator(const char* format) {
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p == '%') {
      if (*++p == '\0') break;
      if (*p == 'T' || *p == 'R') return ":";
      continue;
    }
    return std::string(1, *p);
  }
  return "";
}

}  // namespace

int read_locale_item(locale_item item, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return 0;
  std::string value;
  switch (item) {
    case locale_item::date_separator: {
      std::string pattern = date_pattern(nl_langinfo_l(D_FMT, loc));
      std::size_t at = pattern.find_first_not_of("dMy");
      value = at == std::string::npos ? "" : pattern.substr(at, 1);
      break;
    }
    case locale_item::time_separator:
      value = time_separator(nl_langinfo_l(T_FMT, loc));
      break;
    case locale_item::decimal_separator:
      value = nl_langinfo_l(RADIXCHAR, loc);
      break;
    case locale_item::thousands_separator:
      value = nl_langinfo_l(THOUSEP, loc);
      break;
    case locale_item::short_date:
      value = date_pattern(nl_langinfo_l(D_FMT, loc));
      break;
  }
  freelocale(loc);
  if (value.size() + 1 > static_cast<std::size_t>(size)) return 0;
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  return static_cast<int>(value.size() + 1);
}

}  // namespace tambre::sys
