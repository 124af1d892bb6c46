// The exported float text functions on the locale snapshot taken at load.
#include "locale/locale_snapshot.h"
#include "tambre32/floattext.h"
#include "text/float_text.h"

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) FormatFloat(char* buffer, short flags, short decimals, double value, int state) {
  if (buffer == nullptr) return buffer;
  tambre::text::format_float(buffer, static_cast<unsigned short>(flags), decimals, value, state,
                             tambre::locale::current_locale());
  return buffer;
}

TAMBRE_EXPORT(double, TAMBRE_FASTCALL) ScanFloat(char* text, short flags, int* error) {
  bool failed = true;
  double value =
      tambre::text::scan_float(text, static_cast<unsigned short>(flags), failed, tambre::locale::current_locale());
  if (error != nullptr) *error = failed ? 1 : 0;
  return value;
}
