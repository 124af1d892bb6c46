#include "sys/hr_clock.h"
#include "sys/microseconds.h"
#include "tambre32/waits.h"

namespace {
LONGLONG now_microseconds() {
  LARGE_INTEGER counter;
  if (!QueryPerformanceCounter(&counter)) return 0;
  return tambre::sys::counter_to_microseconds(counter.QuadPart, tambre::sys::counter_frequency());
}
}  // namespace

TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) GetHRTime(void) { return static_cast<DWORD>(now_microseconds()); }
TAMBRE_EXPORT(LONGLONG, TAMBRE_STDCALL) GetHRTime64(void) { return now_microseconds(); }
