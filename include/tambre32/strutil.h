/* String utilities on zero-terminated 8-bit strings. None allocates; all work in the
   caller's buffers. Register calling convention, plain exported names. */
#pragma once

#include "tambre32/api.h"

/* Copies at most size-1 characters and always terminates dst (size 0 counts as 1). */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strxcpy(char* dst, const char* src, unsigned size);
/* Copies src with its terminator; the two may overlap. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strmove(char* dst, const char* src);
/* Replaces every occurrence of find by repl in place; the buffer must hold the result. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strsubst(char* s, const char* find, const char* repl);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strequal(const char* a, const char* b);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) striequal(const char* a, const char* b);
/* a begins with b. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strnequal(const char* a, const char* b);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strniequal(const char* a, const char* b);
/* First occurrence of find in s ignoring case; an empty find gives s. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) stristr(const char* s, const char* find);
/* Wildcard match with '*' and '?', ignoring case; '*' never backtracks. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strmatch(const char* s, const char* pattern);
/* Characters 9-13 become blanks. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strspace(char* s);
/* mode 2: trailing blanks go; mode 1: leading blanks go; 3: both. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strtrim(char* s, int mode);
/* Tokenizer that keeps empty fields; its position is per thread. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strtoks(char* s, const char* delims);
/* The part behind the last backslash. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) shortfilename(const char* path);
/* Drops the last character when it is c. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strcutlast(char* s, char c);
/* n copies of c and a terminator; returns n. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strfill(char* dst, char c, int n);
/* s equals single, or a word of the '|'-separated list, ignoring case. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strmatchtoken(const char* s, const char* list, const char* single);
