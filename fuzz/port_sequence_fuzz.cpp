// Runs arbitrary sequence records through the interpreter: it must stay inside the
// record it is given, whatever the count, codes and offsets claim.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/little_endian.h"
#include "io/port_sequence.h"

namespace {

// Answers reads from a fixed pattern and ignores writes.
class patterned_ports final : public tambre::io::port_space {
 public:
  std::uint8_t in8(std::uint16_t port) override { return static_cast<std::uint8_t>(next(port)); }
  std::uint16_t in16(std::uint16_t port) override { return static_cast<std::uint16_t>(next(port)); }
  std::uint32_t in32(std::uint16_t port) override { return next(port); }
  void out8(std::uint16_t, std::uint8_t) override {}
  void out16(std::uint16_t, std::uint16_t) override {}
  void out32(std::uint16_t, std::uint32_t) override {}

 private:
  std::uint32_t next(std::uint16_t port) { return (state_ = state_ * 1664525u + 1013904223u + port); }
  std::uint32_t state_ = 1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> record(data, data + size);
  if (record.size() >= 8) {
    // A wait without a time limit may rightly run for ever: keep every run bounded.
    if (tambre::base::load_le32(record.data() + 4) > 1000) tambre::base::store_le32(record.data() + 4, 1000);
  }
  patterned_ports ports;
  std::uint32_t now = 0;
  tambre::io::run_port_sequence(record.data(), record.size(), ports, [&now] { return now += 7; });
  return 0;
}
