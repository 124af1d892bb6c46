// Arbitrary schedule records, times and offsets: no read or write out of bounds, no
// undefined arithmetic; the text stays within its maximum, the ordering is antisymmetric,
// normalising twice changes nothing, and a repeated question gets the same answer.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "support/fixed_time_source.h"
#include "sys/platform.h"
#include "tambre32/schedule.h"

namespace {

tambre::test::fixed_time_source source;

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tambre::sys::time_seam().install(&source);
  tambre32::timespec a, b;
  std::int32_t t = 0, offset = 0;
  unsigned char input[sizeof a + sizeof b + 8] = {};
  std::memcpy(input, data, size < sizeof input ? size : sizeof input);
  std::memcpy(&a, input, sizeof a);
  std::memcpy(&b, input + sizeof a, sizeof b);
  std::memcpy(&t, input + 2 * sizeof a, 4);
  std::memcpy(&offset, input + 2 * sizeof a + 4, 4);

  const bool first = a.match(t, offset);
  require(a.match(t, offset) == first);
  // The other offset's sign flipped; in unsigned arithmetic, where the lowest one stays itself.
  b.match(t ^ 0x5A5A, static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(offset)));

  const int forward = a.compare(b);
  require(forward >= -1 && forward <= 1 && b.compare(a) == -forward && a.compare(a) == 0);

  char text[TIMESPEC_TEXT_SIZE + 4];
  std::memset(text, '#', sizeof text);
  require(a.tostr(text) == text);
  require(std::strlen(text) <= (a.kind == tambre32::timespec_user_defined ? 31u : 19u));
  require(text[TIMESPEC_TEXT_SIZE] == '#');

  tambre32::timespec again = a;
  again.recalc();
  require(std::memcmp(&again, &a, sizeof a) == 0);
  require((a.kind >= 0 && a.kind <= 7) || (a.kind == 99 && a.length > 0));
  return 0;
}
