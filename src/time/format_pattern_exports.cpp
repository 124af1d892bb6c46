// The exported pattern functions.
#include "tambre32/formatpattern.h"
#include "time/format_pattern.h"

namespace tt = tambre::time;

namespace {
// Shared by every caller, as the interface promises; callers keep a copy.
char shared_pattern[tt::pattern_size];
}  // namespace

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) FormatStr(int flags, short decimals) {
  tt::format_pattern(shared_pattern, static_cast<unsigned>(flags) & 0xFFFFu, decimals);
  return shared_pattern;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) FormatStrLen(int flags, short decimals) {
  return tt::pattern_length(static_cast<unsigned>(flags) & 0xFFFFu, decimals);
}

TAMBRE_EXPORT(short, TAMBRE_FASTCALL)
ScanFormat(const char* pattern, unsigned short* flags, unsigned short* decimals, short allowed) {
  if (flags == nullptr || decimals == nullptr) return 0;
  unsigned f, d;
  if (!tt::scan_pattern(pattern, f, d, static_cast<unsigned short>(allowed))) return 0;
  *flags = static_cast<unsigned short>(f);
  *decimals = static_cast<unsigned short>(d);
  return 1;
}
