/* The user's separators, read once when the library is loaded. Register convention. */
#pragma once

#include "tambre32/api.h"

/* 0 date, 1 time, 2 decimal, 3 thousands separator; 0 for any other index. */
TAMBRE_EXPORT(char, TAMBRE_FASTCALL) lcGetSeparator(int which);
/* Replaces the first '.' in s by the locale's decimal separator; returns s. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) lcFloatConv(char* s);
/* Replaces the first locale decimal separator in s by '.'; returns s. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) lcConvFloat(char* s);
