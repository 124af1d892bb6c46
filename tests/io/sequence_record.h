#pragma once
// Builds port-sequence records byte by byte, as a driver lays them out, with the 40 +
// 24 x count bytes a caller must provide.

#include <cstdint>
#include <vector>

#include "base/little_endian.h"
#include "io/port_sequence.h"

namespace tambre::test {

struct sequence_step {
  std::uint32_t operation;
  std::uint32_t port_offset;
  std::uint32_t value = 0;
  std::uint32_t mask = 0;
  std::uint32_t expected = 0;
};

class sequence_record {
 public:
  sequence_record(std::uint16_t base_port, std::uint32_t timeout_ms, const std::vector<sequence_step>& steps)
      : bytes_(io::sequence_request_length(static_cast<std::int32_t>(steps.size())), 0xCC) {
    base::store_le16(bytes_.data(), base_port);
    base::store_le32(bytes_.data() + 4, timeout_ms);
    base::store_le32(bytes_.data() + 8, static_cast<std::uint32_t>(steps.size()));
    for (std::size_t i = 0; i < steps.size(); ++i) {
      std::uint8_t* item = bytes_.data() + 16 + 24 * i;
      base::store_le32(item, steps[i].operation);
      base::store_le32(item + 4, steps[i].port_offset);
      base::store_le32(item + 8, steps[i].value);
      base::store_le32(item + 12, steps[i].mask);
      base::store_le32(item + 16, steps[i].expected);
    }
  }
  std::uint8_t* data() { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  std::uint32_t value(std::size_t item) const { return base::load_le32(bytes_.data() + 16 + 24 * item + 8); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace tambre::test
