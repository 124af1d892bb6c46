/* The library frame: message output, message boxes, system error texts, assertions. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

/* The driver's message-output callback: one zero-terminated 8-bit text, called on the
   thread that produced the message. */
typedef void(TAMBRE_CDECL* TambreMessageOutProc)(const char* text);

/* Installs the callback; null leaves the installed one in place. */
TAMBRE_EXPORT(void, TAMBRE_STDCALL) SetMessageOut(TambreMessageOutProc callback);
/* printf-style, at most 311 characters; characters delivered, -1 when cut or no callback. */
TAMBRE_EXPORT(int, TAMBRE_CDECL) MessageOut(const char* format, ...);
/* String `id` of `instance`, behind the module's name as prefix ("MODBUS: ..."). */
TAMBRE_EXPORT(void, TAMBRE_CDECL) ResourceMessageOut(HINSTANCE instance, UINT id, ...);

/* Owner: a window, a module instance or null (library strings, caption "Treiber"). */
TAMBRE_EXPORT(int, TAMBRE_CDECL) MessageFMTBox(void* owner, UINT id, UINT style, ...);
TAMBRE_EXPORT(int, TAMBRE_CDECL) ResourceMessageBox(HINSTANCE instance, UINT id, UINT style, ...);
/* code 0: the thread's last error; style (UINT)-1: nothing shown. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) LastErrorMessageBox(HWND owner, DWORD code, UINT style);

/* code 0xFFFFFFFF: the thread's last error. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetSysErrorStr(char* buffer, int size, DWORD code);
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) GetSysError(char* buffer, int size, DWORD code);

/* mode 1: also a box; mode -1: also the structured exception 0xA0000001. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
AssertDbg(int condition, const char* expression, const char* file, int line, int mode);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) EnableDlgItem(HWND dialog, int id, BOOL enable);

#define TAMBRE_ASSERT_EXCEPTION 0xA0000001UL
