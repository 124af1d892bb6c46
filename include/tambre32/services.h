/* System services: Windows version queries and on-line help. */
#pragma once

#include <stdint.h>

#include "tambre32/api.h"

/* The version code: -1 Windows Me, 0 unknown, 1 Windows 95 ... 13 Windows Server 2012 R2,
   14 a later Windows. The version record is read on first use and kept. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) QueryWin32Type(void);
/* Yes (1) or no (0) to version question `selector`; selector 34 gives 48 or 40. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) QueryWin32Param(int selector);
/* 1: the service-pack text; 2: build, 3: major, 4: minor version as numbers; any other
   selector: the name of the version code. */
TAMBRE_EXPORT(intptr_t, TAMBRE_FASTCALL) QueryWin32Name(int selector);
/* 1: a 32-bit process on 64-bit Windows; 0: not, or the system cannot tell; -1: the query
   failed. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) Is64BitWindows(void);

#if defined(_WIN32)
#include <windows.h>

/* Open the help file `file` (found beside the application or this library) at a
   keyword, a context number or a keyword from the string table of the module that owns
   `window`. 1 on success, 0 on failure. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvHelpKey(HWND window, const char* file, const char* keyword);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvHelpContext(HWND window, const char* file, DWORD context);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvHelpRcTopic(HWND window, const char* file, UINT id);
#endif
