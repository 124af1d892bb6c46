// ScanFormat and FormatStr: arbitrary patterns and allowed-form masks through the
// scanner; a pattern it accepts is written back from its flags within the pattern size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "time/format_pattern.h"

namespace tt = tambre::time;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::fuzz::input in(data, size);
  const auto allowed = in.take<std::uint16_t>();
  const std::unique_ptr<char[]> text = in.rest_as_text();
  unsigned flags = 0x5A5A, decimals = 0xA5A5;
  if (!tt::scan_pattern(text.get(), flags, decimals, allowed)) {
    if (flags != 0x5A5A || decimals != 0xA5A5) std::abort();  // untouched on refusal
    return 0;
  }
  char pattern[tt::pattern_size + 1];
  pattern[tt::pattern_size] = '#';
  tt::format_pattern(pattern, flags, static_cast<int>(decimals));
  if (pattern[tt::pattern_size] != '#' || std::strlen(pattern) >= tt::pattern_size) std::abort();
  if (tt::pattern_length(flags, static_cast<int>(decimals)) < 0) std::abort();
  return 0;
}
