/* The library's own calendar and zone functions: time values are unsigned 32-bit seconds
   since 1970-01-01 UTC, valid to 2099-12-31 23:59:59; 0xFFFFFFFF means no time.
   The time/localtime/mktime family uses the caller-cleans convention and is exported with
   that convention's leading underscore (_time, _localtime, __ftime, _tzset_, ...), so it
   never meets the C run-time's functions of the same names. The lc functions use the
   register convention. */
#pragma once

#include <time.h>

#include "tambre32/api.h"

typedef unsigned int tambre_time_t;

/* The millisecond clock record of __ftime. */
struct tambre_timeb {
  tambre_time_t time;
  unsigned short millitm;
  short timezone; /* minutes west of UTC, standard time */
  short dstflag;  /* always -1 */
};

#if defined(_WIN32)
/* Re-reads the zone state from TZ or the platform's zone record. */
TAMBRE_EXPORT(void, TAMBRE_CDECL) _tzset_(void);
/* Current time, also stored through t when t is not null; -1 outside 1970-2099. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_CDECL) _time(tambre_time_t* t);
/* The calling thread's broken-down UTC / local time; null beyond 2099. */
TAMBRE_EXPORT(struct tm*, TAMBRE_CDECL) _gmtime(const tambre_time_t* t);
TAMBRE_EXPORT(struct tm*, TAMBRE_CDECL) _localtime(const tambre_time_t* t);
/* "Tue Mar 05 08:04:09 2024\n" in one process-wide buffer. */
TAMBRE_EXPORT(char*, TAMBRE_CDECL) _asctime(const struct tm* t);
TAMBRE_EXPORT(char*, TAMBRE_CDECL) _ctime(const tambre_time_t* t);
/* Broken-down local / UTC time to time value; normalises *t. -1 on failure. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_CDECL) _mktime(struct tm* t);
TAMBRE_EXPORT(tambre_time_t, TAMBRE_CDECL) _mktimegm(struct tm* t);
TAMBRE_EXPORT(void, TAMBRE_CDECL) __ftime(struct tambre_timeb* tb);
/* Live zone offset (seconds west), DST bias (seconds) and daylight flag. */
TAMBRE_EXPORT(int*, TAMBRE_CDECL) _gettimezone(void);
TAMBRE_EXPORT(int*, TAMBRE_CDECL) _getdstbias(void);
TAMBRE_EXPORT(int*, TAMBRE_CDECL) _getdaylight(void);
#endif

/* Week of the year by tm_yday and tm_wday: mode 0/1 week 1 holds January 1, mode 2 close
   to ISO 8601; -1 for any other mode or a null record. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) lcWeekOfYear(const struct tm* t, int mode);
/* 1 when tm_year + 1900 is a Gregorian leap year; 0 otherwise or for a null record. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) lcLeapYear(const struct tm* t);
/* Days of month tm_mon of year tm_year; 0 for a month outside 0-11 or a null record. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) lcDaysOfMon(const struct tm* t);
