#include "io/access_mode.h"

#include <windows.h>

#include "io/device_io.h"
#include "io/device_requests.h"
#include "io/hardware_seams.h"
#include "io/port_sequence.h"

namespace tambre::io {

namespace {

// Unavailable: nothing is read, written or touched.
template <typename Value>
int refuse_read(device_handle, std::uint32_t, Value*) {
  return 0;
}
template <typename Value>
int refuse_write(device_handle, std::uint32_t, Value) {
  return 0;
}
int refuse_sequence(device_handle, std::uint8_t*) { return 0; }

// Direct: the port number is taken as 16 bits and accessed at once.
int direct_read8(device_handle, std::uint32_t port, std::uint8_t* value) {
  *value = direct_ports().in8(static_cast<std::uint16_t>(port));
  return 1;
}
int direct_read16(device_handle, std::uint32_t port, std::uint16_t* value) {
  *value = direct_ports().in16(static_cast<std::uint16_t>(port));
  return 1;
}
int direct_read32(device_handle, std::uint32_t port, std::uint32_t* value) {
  *value = direct_ports().in32(static_cast<std::uint16_t>(port));
  return 1;
}
int direct_write8(device_handle, std::uint32_t port, std::uint8_t value) {
  direct_ports().out8(static_cast<std::uint16_t>(port), value);
  return 1;
}
int direct_write16(device_handle, std::uint32_t port, std::uint16_t value) {
  direct_ports().out16(static_cast<std::uint16_t>(port), value);
  return 1;
}
int direct_write32(device_handle, std::uint32_t port, std::uint32_t value) {
  direct_ports().out32(static_cast<std::uint16_t>(port), value);
  return 1;
}
int direct_sequence(device_handle, std::uint8_t* record) {
  const std::int32_t count = sequence_item_count(record);
  const std::size_t size = sizeof(sequence_header) + sizeof(sequence_item) * (count > 0 ? std::size_t(count) : 0);
  const std::uint32_t result = run_port_sequence(record, size, direct_ports(), [] { return GetTickCount(); });
  if (result != kSequenceDone) {
    SetLastError(result);
    return 0;
  }
  return 1;
}

// Device: one request per call.
int device_read8(device_handle d, std::uint32_t port, std::uint8_t* value) {
  return device_read(d, request::read_port8, port, value);
}
int device_read16(device_handle d, std::uint32_t port, std::uint16_t* value) {
  return device_read(d, request::read_port16, port, value);
}
int device_read32(device_handle d, std::uint32_t port, std::uint32_t* value) {
  return device_read(d, request::read_port32, port, value);
}
int device_write8(device_handle d, std::uint32_t port, std::uint8_t value) {
  return device_write(d, request::write_port8, port, value);
}
int device_write16(device_handle d, std::uint32_t port, std::uint16_t value) {
  return device_write(d, request::write_port16, port, value);
}
int device_write32(device_handle d, std::uint32_t port, std::uint32_t value) {
  return device_write(d, request::write_port32, port, value);
}
int device_sequence(device_handle d, std::uint8_t* record) {
  const std::uint32_t length = sequence_request_length(sequence_item_count(record));
  if (length == 0) {
    SetLastError(kSequenceBadItem);
    return 0;
  }
  std::uint32_t returned = 0;
  const std::uint32_t error = channel().control(d, request::run_sequence, record, length, record, length, returned);
  if (error != 0) {
    SetLastError(error);
    return 0;
  }
  return 1;
}

constexpr port_operations kUnavailable = {refuse_read<std::uint8_t>,
                                          refuse_read<std::uint16_t>,
                                          refuse_read<std::uint32_t>,
                                          refuse_write<std::uint8_t>,
                                          refuse_write<std::uint16_t>,
                                          refuse_write<std::uint32_t>,
                                          refuse_sequence};
constexpr port_operations kDirect = {direct_read8,   direct_read16,  direct_read32,  direct_write8,
                                     direct_write16, direct_write32, direct_sequence};
constexpr port_operations kDevice = {device_read8,   device_read16,  device_read32,  device_write8,
                                     device_write16, device_write32, device_sequence};

port_operations current = kUnavailable;

}  // namespace

const port_operations& port_ops() { return current; }

void select_access_mode(access_mode mode) {
  switch (mode) {
    case access_mode::unavailable:
      current = kUnavailable;
      break;
    case access_mode::direct:
      current = kDirect;
      break;
    case access_mode::device:
      current = kDevice;
      break;
  }
}

void drop_narrow_port_operations() {
  current.read8 = kUnavailable.read8;
  current.read16 = kUnavailable.read16;
  current.write8 = kUnavailable.write8;
  current.write16 = kUnavailable.write16;
}

}  // namespace tambre::io
