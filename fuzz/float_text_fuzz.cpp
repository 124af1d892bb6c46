// ScanFloat and FormatFloat: arbitrary texts and flag words through the scanner, which
// edits its text in place, and arbitrary values, decimals and states through the writer
// into a buffer of exactly the size the caller must provide.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "text/float_text.h"

namespace tx = tambre::text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::fuzz::input in(data, size);
  const auto selector = in.take<std::uint8_t>();
  const auto flags = in.take<std::uint16_t>();
  const tambre::locale::locale_snapshot& locale = tambre::fuzz::locale_from(selector >> 4);

  if ((selector & 1) == 0) {
    const std::unique_ptr<char[]> text = in.rest_as_text();
    const std::size_t length = std::strlen(text.get());
    bool failed = false;
    tx::scan_float(text.get(), flags, failed, locale);
    if (std::strlen(text.get()) > length) std::abort();  // edited in place, never lengthened
    return 0;
  }

  const auto value = in.take<double>();
  const int decimals = in.take<std::uint8_t>();
  const int state = in.take<std::uint8_t>() % 6;
  std::size_t room = tx::float_text_minimum;
  if ((flags & tx::ff_width) + 1u > room) room = (flags & tx::ff_width) + 1u;
  if (static_cast<std::size_t>(decimals) + 18 > room) room = static_cast<std::size_t>(decimals) + 18;
  std::unique_ptr<char[]> out(new char[room]);
  tx::format_float(out.get(), flags, decimals, value, state, locale);
  if (std::strlen(out.get()) >= room) std::abort();
  // What the writer writes, the scanner reads without trouble.
  bool failed = false;
  tx::scan_float(out.get(), flags, failed, locale);
  return 0;
}
