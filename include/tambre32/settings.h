/* Driver and user settings in the registry. Each section is the key
   Software\Brintel\Ostrand\Driver\<section>, under HKEY_LOCAL_MACHINE for the driver
   store and HKEY_CURRENT_USER for the user store; entries are its values. Every call
   opens (and creates, a read too) the section key and closes it again. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

/* Texts (REG_SZ): 1 written, 0 failed. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteDrvIniString(const char* section, const char* entry, const char* text);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteUsrIniString(const char* section, const char* entry, const char* text);
/* 32-bit values (REG_DWORD): 1 written, 0 failed. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteDrvIniInt(const char* section, const char* entry, LONG value);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) WriteUsrIniInt(const char* section, const char* entry, LONG value);

/* Characters in `buffer` (size bytes, at least 1) without the terminator. A missing
   entry, one of another type or one too large for the buffer gives the default (may be
   null: the empty text), cut to size - 1 characters. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetDrvIniString(const char* section, const char* entry, const char* fallback, char* buffer, int size);
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetUsrIniString(const char* section, const char* entry, const char* fallback, char* buffer, int size);
/* The stored REG_DWORD value, otherwise `fallback`. */
TAMBRE_EXPORT(LONG, TAMBRE_STDCALL) GetDrvIniInt(const char* section, const char* entry, LONG fallback);
TAMBRE_EXPORT(LONG, TAMBRE_STDCALL) GetUsrIniInt(const char* section, const char* entry, LONG fallback);

/* Deletes the section's key: 1 deleted, 0 failed (also when it still has sub-keys). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DeleteDrvIniSection(const char* section);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DeleteUsrIniSection(const char* section);

/* Up to 112 values as the user-store text "3F8,2F8,0": 1 written, 0 failed. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ProfileWriteHexValues(const char* section, const char* entry, int count, const DWORD* values);
/* Clears all `count` values, then reads up to min(count, 112): the number read. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ProfileGetHexValues(const char* section, const char* entry, int count, DWORD* values);

/* The hexadecimal I/O card address typed into control `control` of `dialog` (at most 11
   characters, a trailing blank allowed): 1 and *address set when it is a 16-bit value
   that no PC hardware claims, else 0. With `message` nonzero the user is told why (or,
   for ports of PC hardware, asked whether to take it anyway). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetDlgCardAddress(HWND dialog, int control, DWORD* address, short message);
