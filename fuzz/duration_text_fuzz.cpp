// ScanTastTmStr and TastTmStr: arbitrary duration texts through the scanner, and
// arbitrary seconds and millisecond modes through the writer into its documented size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "time/time_text.h"

namespace tt = tambre::time;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::fuzz::input in(data, size);
  const auto selector = in.take<std::uint8_t>();
  const auto& locale = tambre::fuzz::locale_from(selector >> 4);

  if ((selector & 1) == 0) {
    const std::unique_ptr<char[]> text = in.rest_as_text();
    tt::scan_duration(text.get(), locale);
    return 0;
  }

  const auto msmode = in.take<std::int16_t>();
  const auto seconds = in.take<double>();
  std::unique_ptr<char[]> out(new char[tt::duration_text_size]);
  tt::format_duration(out.get(), msmode, seconds, locale);
  if (std::strlen(out.get()) >= tt::duration_text_size) std::abort();
  tt::scan_duration(out.get(), locale);
  return 0;
}
