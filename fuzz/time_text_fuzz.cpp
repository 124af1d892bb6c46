// ScanTimeStr and TimeStr: arbitrary texts through the absolute and relative time
// scanner in both modes, and arbitrary times and field selections through the writer
// into its documented size, whose text the scanner then reads.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "time/time_text.h"

namespace tt = tambre::time;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::fuzz::use_fixed_clock();
  tambre::fuzz::input in(data, size);
  const auto selector = in.take<std::uint8_t>();
  const auto& locale = tambre::fuzz::locale_from(selector >> 4);

  if ((selector & 1) == 0) {
    const std::unique_ptr<char[]> text = in.rest_as_text();
    tt::scan_time(text.get(), (selector & 2) != 0, locale);
    return 0;
  }

  const auto t = in.take<std::uint32_t>();
  const auto milliseconds = in.take<std::int16_t>();
  const auto flags = in.take<std::uint16_t>();
  std::unique_ptr<char[]> stamp(new char[tt::time_text_size]);
  tt::format_time(stamp.get(), t, milliseconds, flags, locale);
  if (std::strlen(stamp.get()) >= tt::time_text_size) std::abort();
  // The writer's text reads back (or is refused) without trouble.
  tt::scan_time(stamp.get(), false, locale);
  return 0;
}
