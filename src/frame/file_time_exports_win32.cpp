#include "frame/file_time.h"
#include "tambre32/automation.h"

namespace {
FILETIME to_filetime(std::uint64_t value) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(value);
  ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return ft;
}
std::uint64_t from_filetime(FILETIME ft) { return (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime; }
}  // namespace

TAMBRE_EXPORT(FILETIME, TAMBRE_STDCALL) Time_tToFILETIME(DWORD time) {
  return to_filetime(tambre::frame::time_t_to_file_time(time));
}
TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) FILETIMEToTime_t(FILETIME file_time) {
  return tambre::frame::file_time_to_time_t(from_filetime(file_time));
}
TAMBRE_EXPORT(double, TAMBRE_STDCALL) FILETIMEToDouble(FILETIME file_time) {
  return tambre::frame::file_time_to_seconds(from_filetime(file_time));
}
TAMBRE_EXPORT(FILETIME, TAMBRE_STDCALL) DoubleToFILETIME(double seconds) {
  return to_filetime(tambre::frame::seconds_to_file_time(seconds));
}
