// CRC-32 (reflected 0xEDB88320) continued from the caller's value: sixteen bytes per step
// with slicing tables, or folded by carry-less multiplication (crc32_clmul.cpp) where the
// processor has it; the byte table finishes the tail.
#include "base/little_endian.h"
#include "tambre32/encoding.h"
#include "text/crc_tables.h"

namespace {

constexpr auto crc32_tables = tambre::text::make_reflected_crc_tables<std::uint32_t, 16>(0xEDB88320u);

}  // namespace

namespace tambre::text {

std::uint32_t crc32_bytewise(std::uint32_t crc, const unsigned char* p, std::size_t n) {
  const auto& t0 = crc32_tables[0];
  for (; n > 0; --n, ++p) crc = (crc >> 8) ^ t0[(crc ^ *p) & 0xFF];
  return crc;
}

std::uint32_t crc32_sliced(std::uint32_t crc, const unsigned char* p, std::size_t n) {
  const auto& t = crc32_tables;
  for (; n >= 16; n -= 16, p += 16) {
    const std::uint32_t a = tambre::base::load_le32(p) ^ crc;
    const std::uint32_t b = tambre::base::load_le32(p + 4);
    const std::uint32_t c = tambre::base::load_le32(p + 8);
    const std::uint32_t d = tambre::base::load_le32(p + 12);
    crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^ t[11][b & 0xFF] ^
          t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^ t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^
          t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^ t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^
          t[0][d >> 24];
  }
  return crc32_bytewise(crc, p, n);
}

}  // namespace tambre::text

TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) CRC32(const void* data, int length, unsigned int start) {
  if (data == nullptr || length <= 0) return start;
  return tambre::text::crc32_fast(start, static_cast<const unsigned char*>(data), static_cast<std::size_t>(length));
}
