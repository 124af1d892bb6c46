#pragma once
// Measured values as text in fixed-width fields and back: fixed-point, exponent,
// hexadecimal, binary, duration and absolute date and time, chosen by one flag word.
// Each takes the locale it follows as a value; the exported functions pass the snapshot
// taken at load.

#include <cstddef>

#include "locale/locale_snapshot.h"

namespace tambre::text {

// The format flag word.
enum float_flags : unsigned {
  ff_width = 0x007F,
  ff_skipalpha = 0x0040,
  ff_bin = 0x0080,
  ff_hex = 0x0100,
  ff_time = 0x0200,
  ff_zero = 0x0400,
  ff_exp = 0x0800,
  ff_raw = 0x8000,
};

// Value states: a field of blanks, of dashes or of hashes instead of the value.
enum float_state { fv_blank = 2, fv_dash = 3, fv_hash = 4 };

// The buffer a caller passes must hold this many characters, width + 1 and decimals + 18.
constexpr std::size_t float_text_minimum = 80;

// Writes value in the form `flags` selects (or the filler of `state`) into out.
void format_float(char* out, unsigned flags, int decimals, double value, int state,
                  const locale::locale_snapshot& locale);

// Reads a value in the form `flags` or a prefix (&x, &b, &t, &T, #) selects; the text
// is lower-cased and its decimal separator replaced in place. `failed` tells whether
// the text could be read.
double scan_float(char* text, unsigned flags, bool& failed, const locale::locale_snapshot& locale);

}  // namespace tambre::text
