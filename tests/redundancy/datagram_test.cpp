// The announcement on the wire: byte for byte, its round trip, and which datagrams a side accepts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "redundancy/datagram.h"

namespace {

using namespace tambre::redundancy;

TEST(Datagram, LayoutByteForByteAndDecodeReadsItBack) {
  datagram record = make_announcement(2, 300, 0x01020304u, 0xA1B2C3D4u);
  record.reserved[15] = 7;  // decoding keeps even the bytes a sender should leave zero
  unsigned char raw[datagram_size];
  std::memset(raw, 0xEE, sizeof raw);
  encode(record, raw);
  unsigned char expected[datagram_size] = {0x91, 0xA0, 0x02, 0x00, 0x2C, 0x01, 0x00, 0x00,
                                           0x04, 0x03, 0x02, 0x01, 0xD4, 0xC3, 0xB2, 0xA1};
  expected[31] = 7;
  EXPECT_EQ(std::vector<unsigned char>(raw, raw + 32), std::vector<unsigned char>(expected, expected + 32));
  const datagram back = decode(raw);
  EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);
}

struct accept_case {
  const char* name;
  std::vector<unsigned char> bytes;
  std::uint32_t own_mode;
  bool accepted;
};

std::vector<unsigned char> wire(std::uint16_t mode) {
  unsigned char raw[datagram_size];
  encode(make_announcement(mode, 300, 1, 1), raw);
  return {raw, raw + sizeof raw};
}

template <typename Edit>
std::vector<unsigned char> edited(std::uint16_t mode, Edit edit) {
  auto bytes = wire(mode);
  edit(bytes);
  return bytes;
}

TEST(Datagram, AcceptsOnlyWholeDatagramsOfTheOtherSide) {
  const accept_case cases[] = {
      {"master hears standby", wire(2), 1, true},
      {"standby hears master", wire(1), 2, true},
      {"own mode", wire(1), 1, false},
      {"31 bytes", edited(1, [](auto& b) { b.pop_back(); }), 2, false},
      {"33 bytes", edited(1, [](auto& b) { b.push_back(0); }), 2, false},
      {"first magic byte", edited(1, [](auto& b) { b[0] = 0x90; }), 2, false},
      {"second magic byte", edited(1, [](auto& b) { b[1] = 0xA1; }), 2, false},
      {"only the low two mode bits count", edited(1, [](auto& b) { b[2] = 0x05; }), 1, false},
      {"high mode byte ignored", edited(1, [](auto& b) { b[3] = 0x02; }), 2, true},
      {"mode 0 differs from 1", wire(0), 1, true},
      {"reserved bytes are not checked", edited(1, [](auto& b) { b[20] = 0xFF; }), 2, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(is_accepted(c.bytes.data(), c.bytes.size(), c.own_mode), c.accepted) << c.name;
  }
  EXPECT_FALSE(is_accepted(nullptr, datagram_size, 1));
}

}  // namespace
