/* Conversions between the library's 8-bit texts and OLE automation: wide strings, BSTR,
   GUID text, automation booleans, file times, and the running object table. */
#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include "tambre32/api.h"

/* Characters of the conversion buffers of ToOleStr, FromOleStr and FromSysStr. */
#define TAMBRE_OLESTR_BUFFER 261

/* Binds the OLE date entry points of OLEAUT32.DLL; true when both are there. Counted. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) OleInit(void);
/* Releases one use of the binding; the last one unloads it. */
TAMBRE_EXPORT(void, TAMBRE_STDCALL) OleReinit(void);

/* out holds TAMBRE_OLESTR_BUFFER characters; the result is out. */
TAMBRE_EXPORT(LPOLESTR, TAMBRE_STDCALL) ToOleStr(LPOLESTR out, const char* text);
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) FromOleStr(char* out, LPCOLESTR text);
/* A new BSTR owned by the caller; null for null. */
TAMBRE_EXPORT(BSTR, TAMBRE_STDCALL) MakeSysStr(const char* text);
/* Converts and frees bstr (null gives an empty text). */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) FromSysStr(char* out, BSTR bstr);
/* "{XXXXXXXX-XXXX-...}" in one buffer shared by all callers, overwritten by each call. */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) StrFromGUID(REFGUID guid);
TAMBRE_EXPORT(VARIANT_BOOL, TAMBRE_STDCALL) MakeBool(int value);

/* OLE dates: local days since 1899-12-30 with the time of day as fraction, converted
   through the library's own local time. Both need a successful OleInit; Time_tToDate
   gives 0.0 and DateToTime_t 0xFFFFFFFF on failure. */
TAMBRE_EXPORT(double, TAMBRE_STDCALL) Time_tToDate(DWORD time);
TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) DateToTime_t(double date);

/* time_t: unsigned 32-bit seconds since 1970 UTC, 0xFFFFFFFF for no time. */
TAMBRE_EXPORT(FILETIME, TAMBRE_STDCALL) Time_tToFILETIME(DWORD time);
TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) FILETIMEToTime_t(FILETIME file_time);
/* Seconds since 1970 with milliseconds as fraction; -1.0 out of range. */
TAMBRE_EXPORT(double, TAMBRE_STDCALL) FILETIMEToDouble(FILETIME file_time);
TAMBRE_EXPORT(FILETIME, TAMBRE_STDCALL) DoubleToFILETIME(double seconds);

/* Registers object in the running object table under a file moniker of name. The caller
   releases *moniker when done. */
TAMBRE_EXPORT(HRESULT, TAMBRE_STDCALL)
RegisterFileMoniker(const char* name, IUnknown* object, DWORD* cookie, IMoniker** moniker);
