#pragma once
// One XlTable record seen through the bytes known to be readable: every reader takes
// its data size from the header but never reads past `available`.

#include <cstddef>
#include <cstdint>

namespace tambre::xl {

constexpr std::size_t header_size = 4;
constexpr std::size_t type_size = 2;
constexpr std::size_t unbounded = static_cast<std::size_t>(-1);

inline std::uint16_t load_u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline void store_u16(unsigned char* p, unsigned v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

inline bool known_type(unsigned type) { return (type >= 1 && type <= 7) || type == 0x10; }

struct record_view {
  unsigned type = 0;
  std::size_t size = 0;  // the header's data size
  const unsigned char* data = nullptr;
  std::size_t readable = 0;  // data bytes that may be read: min(size, available - 4)

  // `available`: bytes from `record` on that belong to the buffer (at least the header).
  record_view(const void* record, std::size_t available) {
    const auto* p = static_cast<const unsigned char*>(record);
    type = load_u16(p);
    size = load_u16(p + 2);
    data = p + header_size;
    const std::size_t room = available == unbounded ? unbounded : available - header_size;
    readable = size < room ? size : room;
  }
};

// Record conversions over a view; the exported functions pass an unbounded one.
bool to_float(const record_view& r, double& value);
bool to_bool(const record_view& r, std::uint16_t& value);
bool to_string(const record_view& r, char* text, std::size_t size);

}  // namespace tambre::xl
