#pragma once
// The number at the start of a text, read the way the C library's atoi and atof read it
// (leading blanks, a sign, then as many digits as there are; 0 when there is no number),
// but without their undefined overflow and without locale, hex or "inf" forms.

namespace tambre::sio {

// Decimal integer prefix, saturated at the limits of int.
int integer_prefix(const char* text);

// Decimal floating-point prefix (digits, an optional fraction and exponent).
double decimal_prefix(const char* text);

}  // namespace tambre::sio
