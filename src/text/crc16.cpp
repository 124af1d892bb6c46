// CRC-16/MODBUS, eight bytes per step.
#include <cstring>
#include "base/little_endian.h"

#include "tambre32/encoding.h"
#include "text/crc_tables.h"

namespace {

constexpr auto crc16_tables = tambre::text::make_reflected_crc_tables<std::uint16_t, 8>(0xA001);

}  // namespace

TAMBRE_EXPORT(unsigned short, TAMBRE_STDCALL) CRC16(const void* data, int length) {
  std::uint16_t crc = 0xFFFF;
  if (data == nullptr || length <= 0) return crc;
  const auto& t = crc16_tables;
  const unsigned char* p = static_cast<const unsigned char*>(data);
  std::size_t n = static_cast<std::size_t>(length);
  for (; n >= 8; n -= 8, p += 8) {
    const std::uint64_t w = tambre::base::load_le64(p) ^ crc;
    crc = static_cast<std::uint16_t>(t[7][w & 0xFF] ^ t[6][(w >> 8) & 0xFF] ^ t[5][(w >> 16) & 0xFF] ^
                                     t[4][(w >> 24) & 0xFF] ^ t[3][(w >> 32) & 0xFF] ^ t[2][(w >> 40) & 0xFF] ^
                                     t[1][(w >> 48) & 0xFF] ^ t[0][w >> 56]);
  }
  for (; n > 0; --n, ++p) crc = static_cast<std::uint16_t>((crc >> 8) ^ t[0][(crc ^ *p) & 0xFF]);
  return crc;
}
