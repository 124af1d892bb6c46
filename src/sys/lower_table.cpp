#include "sys/platform.h"

namespace tambre::sys {

const unsigned char* lower_table() {
  // Built on first use; the locale of a process does not change under a running driver.
  static const struct table {
    table() { fill_lower_table(c); }
    unsigned char c[256];
  } lowered;
  return lowered.c;
}

}  // namespace tambre::sys
