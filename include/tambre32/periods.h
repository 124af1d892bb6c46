/* Period arithmetic on time values: floor, ceiling and length of periods given by their
   length in seconds (604801 week, 2635201 month, 7905601 quarter, 31557601 year), the
   daylight-saving changeover days, and calendar quantities by code. Register convention. */
#pragma once

#include <time.h>

#include "tambre32/api.h"
#include "tambre32/timecore.h"

/* Start of the period holding t; -1 for p < 1. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) tmFloor(tambre_time_t t, int p);
/* t when it starts a period, else the start of the next one; -1 for p < 1. */
TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) tmCeil(tambre_time_t t, int p);
/* Length in seconds of the period at or holding t; flag bit 0 corrects changeover days. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) tmPeriodLength(tambre_time_t t, int p, int flags);
/* 1 on the March changeover day, -1 on the October one, else 0; local may be null. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) tmIsDaylightDay(tambre_time_t t, const struct tm* local);
/* The calendar quantity named by code (0 seconds of the day ... 26 now, 2xx period
   lengths, 3xx period starts); -1 for unknown codes. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) tmv(int code, tambre_time_t t, const struct tm* local);
TAMBRE_EXPORT(double, TAMBRE_FASTCALL) tmv_dbl(int code, tambre_time_t t, const struct tm* local);
