// The exported separator functions on the snapshot taken at load.
#include "tambre32/locale.h"
#include "text/locale_snapshot.h"

using tambre::text::current_locale;

TAMBRE_EXPORT(char, TAMBRE_FASTCALL) lcGetSeparator(int which) {
  return tambre::text::separator_of(current_locale(), which);
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) lcFloatConv(char* s) {
  return tambre::text::replace_first(s, '.', current_locale().decimal_separator[0]);
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) lcConvFloat(char* s) {
  return tambre::text::replace_first(s, current_locale().decimal_separator[0], '.');
}
