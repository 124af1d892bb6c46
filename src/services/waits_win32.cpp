#include "sys/message_pump.h"
#include "tambre32/waits.h"

TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) WaitEvents(const HANDLE* handles, DWORD count, DWORD timeout) {
  const DWORD deadline = timeout * 1000;  // microseconds, 32-bit as the clock
  const DWORD start = GetHRTime();
  DWORD wait = timeout;
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, wait, QS_ALLINPUT);
    if (result == WAIT_ABANDONED_0 || result < count || result == WAIT_FAILED) return result;
    if (result == WAIT_OBJECT_0 + count) tambre::sys::pump_messages();
    const DWORD elapsed = GetHRTime() - start;
    if (elapsed >= deadline) return WAIT_TIMEOUT;
    wait = (deadline - elapsed + 999) / 1000;
  }
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) WaitEvent(HANDLE handle, DWORD timeout) {
  return WaitEvents(&handle, 1, timeout) == 0 ? 1 : 0;
}
