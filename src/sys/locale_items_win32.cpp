// Locale items of the user's default locale from Win32.
#include <windows.h>

#include "sys/platform.h"

namespace tambre::sys {

int read_locale_item(locale_item item, char* buffer, int size) {
  LCTYPE type = LOCALE_SSHORTDATE;
  switch (item) {
    case locale_item::date_separator:
      type = LOCALE_SDATE;
      break;
    case locale_item::time_separator:
      type = LOCALE_STIME;
      break;
    case locale_item::decimal_separator:
      type = LOCALE_SDECIMAL;
      break;
    case locale_item::thousands_separator:
      type = LOCALE_STHOUSAND;
      break;
    case locale_item::short_date:
      type = LOCALE_SSHORTDATE;
      break;
  }
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, size);
}

}  // namespace tambre::sys
