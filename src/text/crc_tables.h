#pragma once
// Slicing tables of the reflected CRCs, built at compile time: table[0] is the classic
// byte table (c = n; eight times: c odd ? c >> 1 ^ poly : c >> 1), table[k][b] the CRC of
// byte b followed by k zero bytes, so k + 1 bytes are folded with one look-up each.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tambre::text {

template <typename T, std::size_t Slices>
using crc_slices = std::array<std::array<T, 256>, Slices>;

template <typename T, std::size_t Slices>
constexpr crc_slices<T, Slices> make_reflected_crc_tables(T poly) {
  crc_slices<T, Slices> t{};
  for (unsigned n = 0; n < 256; ++n) {
    T c = static_cast<T>(n);
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? static_cast<T>((c >> 1) ^ poly) : static_cast<T>(c >> 1);
    t[0][n] = c;
  }
  for (std::size_t k = 1; k < Slices; ++k) {
    for (unsigned n = 0; n < 256; ++n) {
      const T prev = t[k - 1][n];
      t[k][n] = static_cast<T>((prev >> 8) ^ t[0][prev & 0xFF]);
    }
  }
  return t;
}

// Reflected CRC-32, byte by byte with the classic table: the reference every faster path
// must agree with.
std::uint32_t crc32_bytewise(std::uint32_t crc, const unsigned char* data, std::size_t length);
// Sixteen bytes per step with slicing tables.
std::uint32_t crc32_sliced(std::uint32_t crc, const unsigned char* data, std::size_t length);
// The fastest path the processor offers (carry-less multiplication where present).
std::uint32_t crc32_fast(std::uint32_t crc, const unsigned char* data, std::size_t length);

}  // namespace tambre::text
