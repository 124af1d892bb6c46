// The exported period functions.
#include "tambre32/periods.h"
#include "time/periods.h"

namespace tt = tambre::time;

TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) tmFloor(tambre_time_t t, int p) { return tt::period_floor(t, p); }

TAMBRE_EXPORT(tambre_time_t, TAMBRE_FASTCALL) tmCeil(tambre_time_t t, int p) { return tt::period_ceil(t, p); }

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) tmPeriodLength(tambre_time_t t, int p, int flags) {
  return tt::period_length(t, p, flags);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) tmIsDaylightDay(tambre_time_t t, const struct tm* local) {
  return tt::daylight_day(t, local);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) tmv(int code, tambre_time_t t, const struct tm* local) {
  return tt::calendar_quantity(code, t, local);
}

TAMBRE_EXPORT(double, TAMBRE_FASTCALL) tmv_dbl(int code, tambre_time_t t, const struct tm* local) {
  return tt::calendar_quantity_double(code, t, local);
}
