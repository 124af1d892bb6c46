#include "io/port_sequence.h"

#include "base/little_endian.h"

namespace tambre::io {

namespace {

constexpr std::size_t kItemSize = sizeof(sequence_item);
constexpr std::size_t kHeaderSize = sizeof(sequence_header);
// The device receives this much beyond the items.
constexpr std::uint64_t kRequestOverhead = 40;

std::uint32_t read_port(port_space& ports, std::uint32_t width_class, std::uint16_t port) {
  switch (width_class) {
    case 0:
      return ports.in8(port);
    case 1:
      return ports.in16(port);
    default:
      return ports.in32(port);
  }
}

void write_port(port_space& ports, std::uint32_t width_class, std::uint16_t port, std::uint32_t value) {
  switch (width_class) {
    case 0:
      ports.out8(port, static_cast<std::uint8_t>(value));
      break;
    case 1:
      ports.out16(port, static_cast<std::uint16_t>(value));
      break;
    default:
      ports.out32(port, value);
      break;
  }
}

// Keeps the bits of the value field a read of this width does not reach.
std::uint32_t merge_read(std::uint32_t old_value, std::uint32_t width_class, std::uint32_t read) {
  switch (width_class) {
    case 0:
      return (old_value & 0xFFFFFF00u) | read;
    case 1:
      return (old_value & 0xFFFF0000u) | read;
    default:
      return read;
  }
}

}  // namespace

std::uint32_t sequence_request_length(std::int32_t item_count) {
  const std::uint64_t items = item_count > 0 ? static_cast<std::uint64_t>(item_count) : 0;
  const std::uint64_t length = kRequestOverhead + kItemSize * items;
  return length > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(length);
}

std::int32_t sequence_item_count(const std::uint8_t* record) {
  return static_cast<std::int32_t>(base::load_le32(record + offsetof(sequence_header, item_count)));
}

std::uint32_t run_port_sequence(std::uint8_t* record, std::size_t size, port_space& ports,
                                const millisecond_clock& now) {
  if (size < kHeaderSize) return kSequenceBadItem;
  const std::uint16_t base = base::load_le16(record + offsetof(sequence_header, base_port));
  const std::uint32_t timeout = base::load_le32(record + offsetof(sequence_header, timeout_ms));
  const std::int32_t count = sequence_item_count(record);
  const bool limited = timeout != kNoTimeLimit;
  const std::uint32_t start = limited ? now() : 0;

  for (std::int32_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + kItemSize * static_cast<std::size_t>(i);
    if (size < at + kItemSize) return kSequenceBadItem;
    std::uint8_t* item = record + at;
    const std::uint32_t operation = base::load_le32(item + offsetof(sequence_item, operation));
    const std::uint32_t width_class = operation / 4;
    const std::uint32_t kind = operation % 4;
    if (width_class > 2 || kind == 3) return kSequenceBadItem;

    const auto port = static_cast<std::uint16_t>(base + base::load_le32(item + offsetof(sequence_item, port_offset)));
    std::uint8_t* value_field = item + offsetof(sequence_item, value);
    if (kind == 0) {
      base::store_le32(value_field,
                       merge_read(base::load_le32(value_field), width_class, read_port(ports, width_class, port)));
    } else if (kind == 1) {
      write_port(ports, width_class, port, base::load_le32(value_field));
    } else {
      const std::uint32_t mask = base::load_le32(item + offsetof(sequence_item, mask));
      const std::uint32_t expected = base::load_le32(item + offsetof(sequence_item, expected));
      for (;;) {
        const std::uint32_t masked = read_port(ports, width_class, port) & mask;
        base::store_le32(value_field, masked);
        if (masked == expected) break;
        // Unsigned difference: correct across the wrap of the 32-bit tick count.
        if (limited && now() - start > timeout) return kSequenceTimeout;
      }
    }
  }
  return kSequenceDone;
}

}  // namespace tambre::io
