// OLE dates (local days since 1899-12-30) from and to time_t, through the library's own
// local time and OLEAUT32's date conversions bound by OleInit.
#include "frame/ole_binding.h"
#include "tambre32/automation.h"
#include "time/local_time.h"

TAMBRE_EXPORT(double, TAMBRE_STDCALL) Time_tToDate(DWORD time) {
  const auto to_variant_time = tambre::frame::system_time_to_variant_time();
  if (time == tambre::time::no_time || !to_variant_time) return 0.0;
  std::tm fields{};
  if (!tambre::time::local_fields(time, fields)) return 0.0;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(fields.tm_year + 1900);
  st.wMonth = static_cast<WORD>(fields.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
  st.wDay = static_cast<WORD>(fields.tm_mday);
  st.wHour = static_cast<WORD>(fields.tm_hour);
  st.wMinute = static_cast<WORD>(fields.tm_min);
  st.wSecond = static_cast<WORD>(fields.tm_sec);
  double date = 0.0;
  return to_variant_time(&st, &date) ? date : 0.0;
}

TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) DateToTime_t(double date) {
  const auto to_system_time = tambre::frame::variant_time_to_system_time();
  if (!to_system_time) return tambre::time::no_time;
  SYSTEMTIME st{};
  if (!to_system_time(date, &st)) return tambre::time::no_time;
  std::tm fields{};
  fields.tm_year = st.wYear - 1900;
  fields.tm_mon = st.wMonth - 1;
  fields.tm_mday = st.wDay;
  fields.tm_hour = st.wHour;
  fields.tm_min = st.wMinute;
  fields.tm_sec = st.wSecond;
  fields.tm_isdst = -1;  // unknown: the zone decides
  return tambre::time::make_local(fields);
}
