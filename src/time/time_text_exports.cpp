// The exported time text functions on the locale snapshot taken at load.
#include "tambre32/timetext.h"

#include <cstdint>
#include <cstring>

#include "locale/locale_snapshot.h"
#include "sys/platform.h"
#include "time/time_text.h"

namespace tt = tambre::time;
using tambre::locale::current_locale;

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) TimeStr(char* buffer, tambre_time_t t, short milliseconds, short flags) {
  if (buffer == nullptr) return buffer;
  tt::format_time(buffer, t, milliseconds, static_cast<unsigned short>(flags), current_locale());
  return buffer;
}

TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) ScanTimeStr(const char* text, int strict) {
  return tt::scan_time(text, strict != 0, current_locale());
}

TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) ScanHDATime(const char* text) { return tt::scan_relative_time(text); }

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) TastTmStr(char* buffer, short msmode, double seconds) {
  if (buffer == nullptr) return buffer;
  tt::format_duration(buffer, msmode, seconds, current_locale());
  return buffer;
}

TAMBRE_EXPORT(double, TAMBRE_FASTCALL) ScanTastTmStr(const char* text) {
  return tt::scan_duration(text, current_locale());
}

TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) FileTime(const char* path) {
  std::int64_t units;
  if (path == nullptr || !tambre::sys::file_write_time(path, units)) return tt::no_time;
  return tt::time_of_file_units(units);
}
