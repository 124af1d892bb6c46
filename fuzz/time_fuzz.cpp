// Feeds arbitrary TZ texts, zone records and broken-down times to the calendar core: no
// read or write out of bounds, no undefined arithmetic, and every time value that comes
// back breaks down to the fields it was made from.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "support/fixed_time_source.h"
#include "sys/platform.h"
#include "time/calendar.h"
#include "time/local_time.h"
#include "time/zone_state.h"

namespace {

namespace tt = tambre::time;

tambre::test::fixed_time_source source;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::sys::time_seam().install(&source);
  // The first bytes: a zone record and nine fields; the rest: a TZ text (used when the
  // first byte is odd).
  tambre::sys::zone_record record{};
  int fields[9] = {};
  std::size_t used = 0;
  auto take = [&](void* out, std::size_t n) {
    std::size_t k = size - used < n ? size - used : n;
    std::memcpy(out, data + used, k);
    used += k;
  };
  std::uint8_t mode = 0;
  take(&mode, 1);
  take(&record, sizeof record);
  take(fields, sizeof fields);
  source.zone = {mode & 2 ? tambre::sys::zone_query_failed : 1u, record};
  source.tz_set = (mode & 1) != 0;
  source.tz.assign(reinterpret_cast<const char*>(data + used), size - used);
  source.tz = source.tz.substr(0, source.tz.find('\0'));
  tt::read_zone();
  if (std::strlen(tt::zone().standard_name) > 63 || std::strlen(tt::zone().daylight_name) > 63) std::abort();

  std::tm f{};
  std::memcpy(&f, fields, sizeof fields);
  std::tm g = f;
  tt::time_value t = tt::make_gm(g);
  if (t != tt::no_time) {
    std::tm back;
    if (!tt::gm_fields(t, back) || std::memcmp(&back, &g, sizeof fields) != 0) std::abort();
  }
  std::tm l = f;
  t = tt::make_local(l);
  std::tm out;
  tt::local_fields(static_cast<tt::time_value>(fields[0]), out);
  tt::local_fields(tt::last_time - static_cast<tt::time_value>(fields[1] & 0x7FFFF), out);
  tt::local_fields(static_cast<tt::time_value>(fields[2] & 0x7FFFF), out);
  char text[26];
  tt::format_asctime(f, text);
  if (std::strlen(text) != 25) std::abort();
  return 0;
}
