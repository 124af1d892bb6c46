// The exported time family. Its exported names (_time, __ftime, ...) are given to these
// functions by the export list; here they carry names of their own so they never clash
// with the C run-time's.
#include <cstdint>
#include <ctime>

#include "tambre32/timecore.h"
#include "time/calendar.h"
#include "time/local_time.h"
#include "time/time_exports.h"
#include "time/zone_state.h"

using tambre::time::time_value;
namespace tt = tambre::time;

static_assert(sizeof(tambre_timeb) == sizeof(tt::timeb_record), "timeb layout");
static_assert(sizeof(std::int32_t) == sizeof(int), "the accessors hand out 32-bit values");

extern "C" {

void TAMBRE_CDECL tambre_tzset_() { tt::read_zone(); }

time_value TAMBRE_CDECL tambre_time(time_value* t) {
  time_value now = tt::current_time();
  if (t != nullptr) *t = now;
  return now;
}

std::tm* TAMBRE_CDECL tambre_gmtime(const time_value* t) {
  if (t == nullptr) return nullptr;
  std::tm& out = tt::thread_result();
  return tt::gm_fields(*t, out) ? &out : nullptr;
}

std::tm* TAMBRE_CDECL tambre_localtime(const time_value* t) {
  if (t == nullptr) return nullptr;
  std::tm fields;
  if (!tt::local_fields(*t, fields)) return nullptr;
  std::tm& out = tt::thread_result();
  out = fields;
  return &out;
}

char* TAMBRE_CDECL tambre_asctime(const std::tm* t) {
  if (t == nullptr) return nullptr;
  char* text = tt::text_result();
  tt::format_asctime(*t, text);
  return text;
}

char* TAMBRE_CDECL tambre_ctime(const time_value* t) {
  std::tm* local = tambre_localtime(t);
  return local != nullptr ? tambre_asctime(local) : nullptr;
}

time_value TAMBRE_CDECL tambre_mktime(std::tm* t) { return t != nullptr ? tt::make_local(*t) : tt::no_time; }

time_value TAMBRE_CDECL tambre_mktimegm(std::tm* t) { return t != nullptr ? tt::make_gm(*t) : tt::no_time; }

void TAMBRE_CDECL tambre_ftime(tambre_timeb* tb) {
  if (tb == nullptr) return;
  tt::timeb_record r;
  tt::millisecond_clock(r);
  tb->time = r.time;
  tb->millitm = r.millitm;
  tb->timezone = r.timezone;
  tb->dstflag = r.dstflag;
}

int* TAMBRE_CDECL tambre_gettimezone() { return &tt::zone().offset; }
int* TAMBRE_CDECL tambre_getdstbias() { return &tt::zone().dst_bias; }
int* TAMBRE_CDECL tambre_getdaylight() { return &tt::zone().daylight; }

}  // extern "C"

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) lcWeekOfYear(const struct tm* t, int mode) {
  return t != nullptr ? tt::week_of_year(t->tm_yday, t->tm_wday, mode) : -1;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) lcLeapYear(const struct tm* t) {
  return t != nullptr && tt::gregorian_leap(t->tm_year) ? 1 : 0;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) lcDaysOfMon(const struct tm* t) {
  return t != nullptr ? tt::days_of_month(t->tm_mon, t->tm_year) : 0;
}
