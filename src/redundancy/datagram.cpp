#include "redundancy/datagram.h"

#include <cstring>

#include "base/little_endian.h"

namespace tambre::redundancy {

datagram make_announcement(std::uint32_t mode, std::uint32_t alive_timeout, std::uint32_t sequence,
                           std::uint32_t tick) {
  datagram record{};
  record.magic[0] = datagram_magic0;
  record.magic[1] = datagram_magic1;
  record.mode = static_cast<std::uint16_t>(mode);
  record.alive_timeout = alive_timeout;
  record.sequence = sequence;
  record.tick = tick;
  return record;
}

void encode(const datagram& record, unsigned char (&bytes)[datagram_size]) {
  bytes[0] = record.magic[0];
  bytes[1] = record.magic[1];
  base::store_le16(bytes + offsetof(datagram, mode), record.mode);
  base::store_le32(bytes + offsetof(datagram, alive_timeout), record.alive_timeout);
  base::store_le32(bytes + offsetof(datagram, sequence), record.sequence);
  base::store_le32(bytes + offsetof(datagram, tick), record.tick);
  std::memcpy(bytes + offsetof(datagram, reserved), record.reserved, sizeof record.reserved);
}

datagram decode(const unsigned char (&bytes)[datagram_size]) {
  datagram record{};
  record.magic[0] = bytes[0];
  record.magic[1] = bytes[1];
  record.mode = base::load_le16(bytes + offsetof(datagram, mode));
  record.alive_timeout = base::load_le32(bytes + offsetof(datagram, alive_timeout));
  record.sequence = base::load_le32(bytes + offsetof(datagram, sequence));
  record.tick = base::load_le32(bytes + offsetof(datagram, tick));
  std::memcpy(record.reserved, bytes + offsetof(datagram, reserved), sizeof record.reserved);
  return record;
}

bool is_accepted(const unsigned char* bytes, std::size_t length, std::uint32_t own_mode) {
  if (bytes == nullptr || length != datagram_size) return false;
  if (bytes[0] != datagram_magic0 || bytes[1] != datagram_magic1) return false;
  return (base::load_le16(bytes + offsetof(datagram, mode)) & 3u) != (own_mode & 3u);
}

}  // namespace tambre::redundancy
