/* The host's main window: the host process answers questions and hands out service
   functions through one window message. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

/* The host's service message; the word parameter selects the question, the long one is 0. */
#define TAMBRE_HOST_MESSAGE (WM_USER + 104)
#define TAMBRE_HOST_ASK_VERSION 0
#define TAMBRE_HOST_ASK_VERSION2 1
#define TAMBRE_HOST_ASK_DIRECTORY_SERVICE 2
#define TAMBRE_HOST_ASK_SECOND_SERVICE 3

/* The host's directory service: code, argument, buffer size, buffer; non-zero when it
   filled the buffer. */
typedef BOOL(TAMBRE_STDCALL* TambreHostDirectoryProc)(DWORD code, DWORD argument, DWORD size, char* buffer);

/* The first top-level window of this process without parent or owner whose class name
   begins with "RPMODLESS" (any case); null when there is none. */
TAMBRE_EXPORT(HWND, TAMBRE_STDCALL) FindOwner(void);
/* The host's version; its second version value goes to `version2` (may be null). Without
   a host window both are 0. */
TAMBRE_EXPORT(WORD, TAMBRE_STDCALL) GetTaskVersion(DWORD* version2);
