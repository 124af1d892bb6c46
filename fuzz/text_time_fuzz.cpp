// Feeds arbitrary texts to the float, time, duration and pattern scanners, and arbitrary
// flag words, values and times to the writers. Every text sits in a heap block of exactly
// its length and terminator and every output buffer has exactly the documented size, so
// a read past the text or a write past the buffer is a sanitizer report.
#include <cstdint>
#include <cstring>
#include <memory>

#include "support/fixed_time_source.h"
#include "sys/platform.h"
#include "text/float_text.h"
#include "text/locale_snapshot.h"
#include "time/format_pattern.h"
#include "time/time_text.h"
#include "time/zone_state.h"

namespace {

namespace tt = tambre::time;
namespace tx = tambre::text;

const tx::locale_snapshot locales[] = {
    {".", ":", ",", ".", "DMY"}, {"/", ":", ".", ",", "MDY"}, {"-", ".", ",", ".", "YMD"}, {".", ",", ".", ",", "YDM"}};

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  std::size_t n = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tambre::test::fixed_time_source source;
  static const bool installed = [] {
    // "Now" in the night of the spring change, where relative times cross it.
    source.local = {2024, 3, 31, 1, 30, 0, 0};
    source.utc = {2024, 3, 31, 0, 30, 0, 0};
    tambre::sys::set_time_source(&source);
    tt::read_zone();
    return true;
  }();
  (void)installed;

  const std::uint8_t selector = take<std::uint8_t>(data, size);
  const tx::locale_snapshot& locale = locales[(selector >> 4) & 3];
  const std::uint16_t flags = take<std::uint16_t>(data, size);

  // The rest is the text, in a block of exactly its size.
  std::unique_ptr<char[]> text(new char[size + 1]);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';

  switch (selector & 7) {
    case 0: {
      bool failed;
      tx::scan_float(text.get(), flags, failed, locale);
      break;
    }
    case 1:
      tt::scan_time(text.get(), (selector & 8) != 0, locale);
      break;
    case 2:
      tt::scan_relative_time(text.get());
      break;
    case 3:
      tt::scan_duration(text.get(), locale);
      break;
    case 4: {
      unsigned f, d;
      tt::scan_pattern(text.get(), f, d, flags);
      break;
    }
    case 5: {
      // The writer: value and decimals from the text bytes, into the documented size.
      std::size_t left = size;
      const std::uint8_t* p = data;
      double value = take<double>(p, left);
      int decimals = take<std::uint8_t>(p, left);
      int state = take<std::uint8_t>(p, left) % 6;
      std::size_t room = 80;
      if ((flags & 0x7F) + 1u > room) room = (flags & 0x7F) + 1u;
      if (static_cast<std::size_t>(decimals) + 18 > room) room = static_cast<std::size_t>(decimals) + 18;
      std::unique_ptr<char[]> out(new char[room]);
      tx::format_float(out.get(), flags, decimals, value, state, locale);
      char pattern[tt::pattern_size];
      tt::format_pattern(pattern, flags, decimals);
      break;
    }
    case 6: {
      std::size_t left = size;
      const std::uint8_t* p = data;
      std::uint32_t t = take<std::uint32_t>(p, left);
      std::int16_t ms = take<std::int16_t>(p, left);
      double seconds = take<double>(p, left);
      std::unique_ptr<char[]> stamp(new char[tt::time_text_size]);
      tt::format_time(stamp.get(), t, ms, flags, locale);
      std::unique_ptr<char[]> duration(new char[tt::duration_text_size]);
      tt::format_duration(duration.get(), static_cast<std::int16_t>(flags), seconds, locale);
      break;
    }
    default: {
      // What the writers write, the scanners read.
      bool failed;
      tx::scan_float(text.get(), flags | 0x0600, failed, locale);
      tt::scan_time(text.get(), false, locale);
      break;
    }
  }
  return 0;
}
