#pragma once
// Modbus RTU frames of the functions the driver uses: read holding registers (3), read
// input registers (4) and write a single register (6). Every frame ends in the CRC-16 of
// what precedes it, low byte first.
#include <cstdint>

namespace modbus_rtu {

constexpr int kMaxFrame = 256;
constexpr std::uint8_t kReadHolding = 3;
constexpr std::uint8_t kReadInputs = 4;
constexpr std::uint8_t kWriteSingle = 6;
constexpr int kExceptionSize = 5;  // slave, function | 0x80, code, CRC

struct frame {
  std::uint8_t bytes[kMaxFrame];
  int size = 0;
};

frame read_request(std::uint8_t slave, std::uint8_t function, std::uint16_t start, std::uint16_t count);
frame write_request(std::uint8_t slave, std::uint16_t address, std::uint16_t value);

// The size of the regular answer to `request`.
int answer_size(const frame& request);

// True once `size` received bytes make a whole answer: the regular size, or an exception.
bool answer_complete(const std::uint8_t* data, int size, int expected);

enum class verdict { ok, bad_checksum, exception, malformed };

// Checks an answer against its request; a regular answer to a read puts its registers into
// `registers` (room for the requested count).
verdict check_answer(const frame& request, const std::uint8_t* data, int size, std::uint16_t* registers);

}  // namespace modbus_rtu
