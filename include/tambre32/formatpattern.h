/* Display patterns of the float text: "#####.##", "0xxxx", "bbbb", "E###.###",
   "hh:mm:ss.ss", "DD.MM.YYYY HH:MM". Register convention. */
#pragma once

#include "tambre32/api.h"

/* The pattern of a flag word and decimal count, in one process-wide buffer of 80
   characters that the next call overwrites. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) FormatStr(int flags, short decimals);
/* The characters of that pattern other than "0" and "E". */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) FormatStrLen(int flags, short decimals);
/* Reads a pattern among the forms `allowed` names (0x0080 binary, 0x0100 hexadecimal,
   0x0200 duration, 0x0200/0x0400 date and time, 0x0400 zero, 0x0800 exponent); 1 when
   read, 0 otherwise with the outputs untouched. */
TAMBRE_EXPORT(short, TAMBRE_FASTCALL)
ScanFormat(const char* pattern, unsigned short* flags, unsigned short* decimals, short allowed);
