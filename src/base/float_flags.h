#pragma once
// The flag word of the float and time texts, shared by the texts (which read and write
// values) and the format patterns (which describe them).
#include "tambre32/floattext.h"

namespace tambre::base {

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

static_assert(ff_width == FF_WIDTH && ff_skipalpha == FF_SKIPALPHA && ff_bin == FF_BIN && ff_hex == FF_HEX &&
              ff_time == FF_TIME && ff_zero == FF_ZERO && ff_exp == FF_EXP && ff_raw == FF_RAW);
static_assert(fv_blank == FV_BLANK && fv_dash == FV_DASH && fv_hash == FV_HASH);

}  // namespace tambre::base
