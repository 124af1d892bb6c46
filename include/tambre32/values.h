/* Double comparison that treats NaN and infinities as values, the packed DBF float, text
   stored in doubles and numbered tag names. */
#pragma once

#include "tambre32/api.h"

#ifndef __cplusplus
#include <stdbool.h>
#endif

/* *a equals *b, or *a differs from *b; a NaN equals every NaN, an infinity itself. */
TAMBRE_EXPORT(bool, TAMBRE_STDCALL) DoubleEqual(const double* a, const double* b);
TAMBRE_EXPORT(bool, TAMBRE_STDCALL) DoubleNotEqual(const double* a, const double* b);
/* -1, 0 or 1; NaN sorts below every number and equals every NaN. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) CompareDouble(const double* a, const double* b);

/* DBF: signed 8-bit exponent in bits 31..24, signed 24-bit mantissa / 2^23 below. */
TAMBRE_EXPORT(float, TAMBRE_STDCALL) DBF2Float(const unsigned int* dbf);
TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) Float2DBF(float value);

/* Six characters per double, at most 95 characters; returns the doubles written. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) SetDBText(double* values, int maxChars, const char* text);
/* Returns the bytes stored before the terminator; the output is always terminated. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetDBText(char* out, int outSize, const double* values, int maxChars);

/* The name with its last number advanced by `step`, keeping the field's width. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) NextTagName(char* out, int outSize, const char* name, int step, int reserved);
