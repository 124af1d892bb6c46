#pragma once
// The 32-byte announcement both sides of a redundancy link send each other.
#include <cstddef>
#include <cstdint>

namespace tambre::redundancy {

constexpr unsigned char datagram_magic0 = 0x91;
constexpr unsigned char datagram_magic1 = 0xA0;

struct datagram {
  std::uint8_t magic[2];
  std::uint16_t mode;           // sender's mode, 1 or 2
  std::uint32_t alive_timeout;  // sender's T in ms
  std::uint32_t sequence;       // sender's counter, never 0
  std::uint32_t tick;           // sender's tick count at sending
  std::uint8_t reserved[16];    // zero
};

constexpr std::size_t datagram_size = 32;
static_assert(sizeof(datagram) == datagram_size, "wire record");
static_assert(offsetof(datagram, mode) == 2 && offsetof(datagram, alive_timeout) == 4 &&
                  offsetof(datagram, sequence) == 8 && offsetof(datagram, tick) == 12 &&
                  offsetof(datagram, reserved) == 16,
              "wire record");

// An announcement of a side: magic, mode, T, sequence, tick, zeros.
datagram make_announcement(std::uint32_t mode, std::uint32_t alive_timeout, std::uint32_t sequence, std::uint32_t tick);

void encode(const datagram& record, unsigned char (&bytes)[datagram_size]);
datagram decode(const unsigned char (&bytes)[datagram_size]);

// A received datagram counts only when it is exactly 32 bytes, carries the magic and comes
// from the other kind of side (mode fields differ in their low two bits).
bool is_accepted(const unsigned char* bytes, std::size_t length, std::uint32_t own_mode);

}  // namespace tambre::redundancy
