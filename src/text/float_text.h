#pragma once
// Measured values as text in fixed-width fields and back: fixed-point, exponent,
// hexadecimal, binary, duration and absolute date and time, chosen by one flag word.
// Each takes the locale it follows as a value; the exported functions pass the snapshot
// taken at load.

#include <cstddef>

#include "base/float_flags.h"
#include "locale/locale_snapshot.h"

namespace tambre::text {

using base::ff_bin;
using base::ff_exp;
using base::ff_hex;
using base::ff_raw;
using base::ff_skipalpha;
using base::ff_time;
using base::ff_width;
using base::ff_zero;
using base::float_flags;
using base::float_state;
using base::fv_blank;
using base::fv_dash;
using base::fv_hash;

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
