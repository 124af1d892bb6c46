/* Calling conventions and the export macro of every public header of tambre32.dll. */
#pragma once

/* The three calling-convention families of the exported surface. The i686 DLL carries
   them; x64 has one convention and the native build none, so they vanish there. */
#if defined(_WIN32) && !defined(_WIN64)
#define TAMBRE_STDCALL __stdcall   /* standard: most plain functions */
#define TAMBRE_FASTCALL __fastcall /* register: float, time-text, string, xl, path families */
#define TAMBRE_CDECL __cdecl       /* caller cleans: printf-style functions, time/mktime family */
#else
#define TAMBRE_STDCALL
#define TAMBRE_FASTCALL
#define TAMBRE_CDECL
#endif

/* Exported functions and whole exported classes. */
#if defined(_WIN32)
#if defined(TAMBRE_BUILDING_LIBRARY)
#define TAMBRE_API __declspec(dllexport)
#else
#define TAMBRE_API __declspec(dllimport)
#endif
#else
#define TAMBRE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define TAMBRE_EXTERN_C extern "C"
#else
#define TAMBRE_EXTERN_C
#endif

/* An exported plain function: TAMBRE_EXPORT(int, TAMBRE_STDCALL) Name(args). */
#define TAMBRE_EXPORT(type, conv) TAMBRE_EXTERN_C TAMBRE_API type conv
