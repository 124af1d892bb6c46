// The exported separator functions on the snapshot taken at load.
#include "locale/locale_snapshot.h"
#include "tambre32/locale.h"

using tambre::locale::current_locale;

TAMBRE_EXPORT(char, TAMBRE_FASTCALL) lcGetSeparator(int which) {
  return tambre::locale::separator_of(current_locale(), which);
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) lcFloatConv(char* s) {
  return tambre::locale::replace_first(s, '.', current_locale().decimal_separator[0]);
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) lcConvFloat(char* s) {
  return tambre::locale::replace_first(s, current_locale().decimal_separator[0], '.');
}
