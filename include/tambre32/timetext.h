/* Time text: time stamps in the user's date order, relative expressions such as DAY-1D,
   durations such as 1d 02:00:00.5, and a file's write time. Register convention. */
#pragma once

#include "tambre32/api.h"
#include "tambre32/timecore.h"

/* Field bits of TimeStr. */
#define TS_MSEC 0x0001
#define TS_SEC 0x0002
#define TS_MIN 0x0004
#define TS_HOUR 0x0008
#define TS_DAY 0x0010
#define TS_MONTH 0x0020
#define TS_YEAR 0x0040
#define TS_WEEKDAY 0x0080
#define TS_NOW 0x0100

/* Writes the selected fields of t (at most 26 characters and the terminator); "kein Wert"
   for -1. Returns buffer. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) TimeStr(char* buffer, tambre_time_t t, short milliseconds, short flags);
/* A relative expression or a date and/or time in the locale's order; -1 on failure. Null
   reads as empty. Strict reading rejects out-of-range parts and trailing text. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) ScanTimeStr(const char* text, int strict);
/* NOW, SECOND, MINUTE, HOUR, DAY, WEEK, MONTH, YEAR or SHIFT with offsets such as -1D,
   +1MO, -8H; -1 for any other text. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) ScanHDATime(const char* text);
/* A duration in seconds as [-][Nd ]hh:mm:ss[.mmm] (at most 21 characters below 100,000
   days); msmode -1 adds milliseconds when there are any, 0 never, others always. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) TastTmStr(char* buffer, short msmode, double seconds);
/* A duration text back to seconds; -1.0 when it cannot be read. */
TAMBRE_EXPORT(double, TAMBRE_FASTCALL) ScanTastTmStr(const char* text);
/* The file's last-write time; -1 when there is no such file or the time lies outside
   1970-2099. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) FileTime(const char* path);
