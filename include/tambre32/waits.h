/* Waits that keep the calling thread's window messages flowing, and a microsecond clock. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

/* Dispatches the queued messages of window (null: all of the thread); always 0. A WM_QUIT
   stays in the queue. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) Dispatch(HWND window);
/* 0 once *variable is zero, WAIT_TIMEOUT (258) when the time ran out. */
TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) WaitForNoneZeroVar(volatile LONG* variable, DWORD timeout, BOOL dispatch);
/* Microseconds since an arbitrary origin; 0 without a performance counter. */
TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) GetHRTime(void);
TAMBRE_EXPORT(LONGLONG, TAMBRE_STDCALL) GetHRTime64(void);
/* Index of the signalled handle, WAIT_ABANDONED_0, WAIT_FAILED or WAIT_TIMEOUT. */
TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) WaitEvents(const HANDLE* handles, DWORD count, DWORD timeout);
/* 1 when the handle was signalled, 0 otherwise. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) WaitEvent(HANDLE handle, DWORD timeout);
/* Waits up to `total` ms for handle (a process or any waitable object): quietly for the
   first `quiet` ms, then with a progress dialog whose cancel button asks before it gives
   up. `text` is the dialog's message, or with `module` a string id in that module. 1 when
   the object was signalled or cannot be waited on, 0 when the time ran out or the
   arguments are bad, -1 when the user cancelled. One such wait per thread at a time. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
MsgBoxWaitForExit(HANDLE handle, int total, int quiet, const char* caption, HINSTANCE module, const char* text);
