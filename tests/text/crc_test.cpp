// CRC-16/MODBUS and CRC-32: the published check values and a bit-by-bit reference of the
// definition.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "random_bytes.h"
#include "tambre32/encoding.h"
#include "text/crc_tables.h"

namespace {

// The definitions, one bit at a time: independent of any table.
std::uint16_t crc16_bitwise(const std::vector<unsigned char>& data) {
  std::uint16_t crc = 0xFFFF;
  for (unsigned char b : data) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

std::uint32_t crc32_bitwise(std::uint32_t crc, const std::vector<unsigned char>& data) {
  for (unsigned char b : data) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return crc;
}

using tambre::test::random_bytes;

TEST(CRC16, PublishedCheckValueAndEmptyInputs) {
  EXPECT_EQ(CRC16("123456789", 9), 0x4B37);
  EXPECT_EQ(CRC16("", 0), 0xFFFF);
  EXPECT_EQ(CRC16(nullptr, 9), 0xFFFF);
  EXPECT_EQ(CRC16("123", -1), 0xFFFF);
  // A Modbus RTU request (read holding registers 0-1 of slave 1) and its CRC, low byte first.
  const unsigned char request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};
  EXPECT_EQ(CRC16(request, sizeof request), 0x0A84);
}

TEST(CRC16, MatchesTheBitwiseDefinitionAtEveryLength) {
  std::mt19937 rng(16);
  for (std::size_t n = 0; n < 300; ++n) {
    const auto data = random_bytes(rng, n);
    ASSERT_EQ(CRC16(data.data(), static_cast<int>(n)), crc16_bitwise(data)) << "length " << n;
  }
}

TEST(CRC32, PublishedCheckValueWithoutInversionInside) {
  EXPECT_EQ(CRC32("123456789", 9, 0xFFFFFFFFu), 0x340BC6D9u);
  EXPECT_EQ(CRC32("123456789", 9, 0xFFFFFFFFu) ^ 0xFFFFFFFFu, 0xCBF43926u);
  EXPECT_EQ(CRC32("", 0, 0x12345678u), 0x12345678u);
  EXPECT_EQ(CRC32(nullptr, 5, 0xABCDEF01u), 0xABCDEF01u);
  EXPECT_EQ(CRC32("c", 1, CRC32("ab", 2, 0xFFFFFFFFu)), CRC32("abc", 3, 0xFFFFFFFFu)) << "continued";
}

// Every length up to 300 at every alignment, and long buffers, where the byte-sliced and
// the folded paths take over: the exported function and each internal path equal the
// bitwise definition.
TEST(CRC32, EveryPathMatchesTheBitwiseDefinition) {
  std::mt19937 rng(32);
  const auto data = random_bytes(rng, 70008);
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n <= 300; n += (n < 64 ? 1 : 7)) lengths.push_back(n);
  for (std::size_t n : {1000, 4096, 65536, 69999}) lengths.push_back(n);
  for (std::size_t offset = 0; offset < 8; ++offset) {
    for (std::size_t n : lengths) {
      const unsigned char* p = data.data() + offset;
      const std::uint32_t start = rng();
      const std::uint32_t reference = crc32_bitwise(start, std::vector<unsigned char>(p, p + n));
      ASSERT_EQ(CRC32(p, static_cast<int>(n), start), reference) << "offset " << offset << " length " << n;
      ASSERT_EQ(tambre::text::crc32_bytewise(start, p, n), reference) << offset << " " << n;
      ASSERT_EQ(tambre::text::crc32_sliced(start, p, n), reference) << offset << " " << n;
      ASSERT_EQ(tambre::text::crc32_fast(start, p, n), reference) << offset << " " << n;
    }
  }
}

}  // namespace
