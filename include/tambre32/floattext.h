/* Float text: measured values in fixed-width fields and back, in the form one flag word
   selects. Error tokens "#NAN", "#INF" and "#NINF". Register convention. */
#pragma once

#include "tambre32/api.h"

#define FF_WIDTH 0x007F     /* field width; date and time: the fields */
#define FF_SKIPALPHA 0x0040 /* reading a date and time: skip a leading weekday name */
#define FF_BIN 0x0080       /* integer in binary */
#define FF_HEX 0x0100       /* integer in hexadecimal */
#define FF_TIME 0x0200      /* duration in seconds */
#define FF_ZERO 0x0400      /* zero padding; with FF_TIME: absolute date and time */
#define FF_EXP 0x0800       /* exponent form */
#define FF_RAW 0x8000       /* plain numeric form */

#define FV_BLANK 2 /* a field of blanks */
#define FV_DASH 3  /* a field of '-' */
#define FV_HASH 4  /* a field of '#' */

/* Writes value into buffer (at least 80 characters, width + 1 and decimals + 18);
   returns buffer. */
TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) FormatFloat(char* buffer, short flags, short decimals, double value, int state);
/* Reads a value; the text is lower-cased and its decimal separator replaced in place.
 *error (when not null) receives 1 on failure, 0 on success. */
TAMBRE_EXPORT(double, TAMBRE_FASTCALL) ScanFloat(char* text, short flags, int* error);
