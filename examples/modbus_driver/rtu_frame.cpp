#include "rtu_frame.h"

#include "tambre32/encoding.h"

namespace modbus_rtu {

namespace {

void put16(frame& f, std::uint16_t value) {
  f.bytes[f.size++] = static_cast<std::uint8_t>(value >> 8);
  f.bytes[f.size++] = static_cast<std::uint8_t>(value);
}

// The checksum goes low byte first, unlike the big-endian fields before it.
void seal(frame& f) {
  const unsigned short crc = CRC16(f.bytes, f.size);
  f.bytes[f.size++] = static_cast<std::uint8_t>(crc);
  f.bytes[f.size++] = static_cast<std::uint8_t>(crc >> 8);
}

bool checksum_ok(const std::uint8_t* data, int size) {
  const unsigned short crc = CRC16(data, size - 2);
  return data[size - 2] == static_cast<std::uint8_t>(crc) && data[size - 1] == static_cast<std::uint8_t>(crc >> 8);
}

std::uint16_t get16(const std::uint8_t* at) { return static_cast<std::uint16_t>((at[0] << 8) | at[1]); }

}  // namespace

frame read_request(std::uint8_t slave, std::uint8_t function, std::uint16_t start, std::uint16_t count) {
  frame f;
  f.bytes[f.size++] = slave;
  f.bytes[f.size++] = function;
  put16(f, start);
  put16(f, count);
  seal(f);
  return f;
}

frame write_request(std::uint8_t slave, std::uint16_t address, std::uint16_t value) {
  frame f;
  f.bytes[f.size++] = slave;
  f.bytes[f.size++] = kWriteSingle;
  put16(f, address);
  put16(f, value);
  seal(f);
  return f;
}

int answer_size(const frame& request) {
  if (request.bytes[1] == kWriteSingle) return 8;  // the request echoed
  return 5 + 2 * get16(request.bytes + 4);
}

bool answer_complete(const std::uint8_t* data, int size, int expected) {
  if (size >= 2 && (data[1] & 0x80) != 0) return size >= kExceptionSize;
  return size >= expected;
}

verdict check_answer(const frame& request, const std::uint8_t* data, int size, std::uint16_t* registers) {
  if (size < kExceptionSize) return verdict::malformed;
  const bool exception = (data[1] & 0x80) != 0;
  const int expected = exception ? kExceptionSize : answer_size(request);
  if (size != expected) return verdict::malformed;
  // The checksum first: a spoiled frame says nothing reliable about its other fields.
  if (!checksum_ok(data, size)) return verdict::bad_checksum;
  if (data[0] != request.bytes[0] || (data[1] & 0x7F) != request.bytes[1]) return verdict::malformed;
  if (exception) return verdict::exception;
  if (request.bytes[1] == kWriteSingle) {
    for (int i = 0; i < 6; ++i) {
      if (data[i] != request.bytes[i]) return verdict::malformed;
    }
    return verdict::ok;
  }
  const int count = get16(request.bytes + 4);
  if (data[2] != 2 * count) return verdict::malformed;
  for (int i = 0; i < count; ++i) registers[i] = get16(data + 3 + 2 * i);
  return verdict::ok;
}

}  // namespace modbus_rtu
