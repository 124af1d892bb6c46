#pragma once
// The port-sequence record and its interpreter: a list of timed port reads, writes and
// waits that a driver hands over in one piece. The direct mode runs it here; the kernel
// device runs the same record in its own code.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "io/port_space.h"

namespace tambre::io {

// Header of the record (16 bytes), followed by the items.
struct sequence_header {
  std::uint16_t base_port;
  std::uint16_t reserved1;
  std::uint32_t timeout_ms;  // for the whole sequence; kNoTimeLimit = none
  std::int32_t item_count;   // 0 or less: nothing to do
  std::uint32_t reserved2;
};
static_assert(sizeof(sequence_header) == 16);
static_assert(offsetof(sequence_header, timeout_ms) == 4 && offsetof(sequence_header, item_count) == 8);

struct sequence_item {
  std::uint32_t operation;
  std::uint32_t port_offset;  // added to the base port, taken as 16 bits
  std::uint32_t value;        // written; or read; or the last masked value of a wait
  std::uint32_t mask;         // waits
  std::uint32_t expected;     // waits
  std::uint32_t reserved;
};
static_assert(sizeof(sequence_item) == 24);
static_assert(offsetof(sequence_item, port_offset) == 4 && offsetof(sequence_item, value) == 8 &&
              offsetof(sequence_item, mask) == 12 && offsetof(sequence_item, expected) == 16);

inline constexpr std::uint32_t kNoTimeLimit = 0xFFFFFFFF;

// Operation codes: 4 x width class + kind.
enum sequence_operation : std::uint32_t {
  op_read8 = 0,
  op_write8 = 1,
  op_wait8 = 2,
  op_read16 = 4,
  op_write16 = 5,
  op_wait16 = 6,
  op_read32 = 8,
  op_write32 = 9,
  op_wait32 = 10,
};

// Results of a sequence, as platform error values.
inline constexpr std::uint32_t kSequenceDone = 0;
inline constexpr std::uint32_t kSequenceTimeout = 1460;        // ERROR_TIMEOUT
inline constexpr std::uint32_t kSequenceBadItem = 0x80070057;  // E_INVALIDARG

// The length the caller's record provides and the device receives in both directions:
// 40 + 24 x count, or 0 when that does not fit the 32 bits of a request length.
std::uint32_t sequence_request_length(std::int32_t item_count);

// Reads the item count of a record (at least 16 bytes).
std::int32_t sequence_item_count(const std::uint8_t* record);

// Milliseconds since some fixed start, wrapping at 32 bits (GetTickCount).
using millisecond_clock = std::function<std::uint32_t()>;

// Runs the items of `record` (`size` bytes) against `ports` and writes the values read
// back into the items. Items beyond `size` are not touched: a count that claims more
// ends the run with kSequenceBadItem once the record runs out. Returns kSequenceDone,
// kSequenceTimeout or kSequenceBadItem; the items before a failing one have run.
std::uint32_t run_port_sequence(std::uint8_t* record, std::size_t size, port_space& ports,
                                const millisecond_clock& now);

}  // namespace tambre::io
