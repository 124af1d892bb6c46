#include "io/platform_state.h"

namespace tambre::io {

namespace {
bool known = false;
bool downgraded = false;
platform_version flags;
}  // namespace

platform_version refresh_platform() {
  flags = query_platform();
  if (downgraded) flags.nt5_or_later = false;
  known = true;
  return flags;
}

platform_version platform() { return known ? flags : refresh_platform(); }

void treat_as_pre_nt5() {
  downgraded = true;
  flags.nt5_or_later = false;
}

void reset_platform_state() {
  known = false;
  downgraded = false;
}

}  // namespace tambre::io
