#pragma once
// The register map of the simulated pumping station, a pure function of the time in whole
// seconds since 1970 (UTC): the instrument answers with it, and whoever checks a reading
// computes the same values for the second in which it was taken.
//
//   input registers (function 4), from address 0:
//     0  level in cm: a triangle between 100 and 340 cm, one period every 240 s
//     1  inflow in 0.1 m3/h: 40.0 rising by 0.5 each second of a minute
//     2  outflow in 0.1 m3/h: 35.0 per running pump
//     3  pumps running: bit 0 pump 1 (level from 200 cm), bit 1 pump 2 (from 300 cm)
//     4  high-level alarm: 1 from 330 cm
//   holding registers (functions 3, 6), from address 0, written by the driver:
//     0  level set point in cm (250 at start)
//     1  pump release bits (3 at start)
#include <cstdint>

namespace pump_station {

constexpr int kInputCount = 5;
constexpr int kHoldingCount = 2;
constexpr std::uint16_t kSetPointAtStart = 250;
constexpr std::uint16_t kReleaseAtStart = 3;

inline std::uint16_t level_cm(std::uint32_t second) {
  const std::uint32_t phase = second % 240;
  return static_cast<std::uint16_t>(100 + 2 * (phase < 120 ? phase : 240 - phase));
}

inline std::uint16_t pumps_running(std::uint32_t second) {
  const std::uint16_t level = level_cm(second);
  return static_cast<std::uint16_t>((level >= 200 ? 1 : 0) | (level >= 300 ? 2 : 0));
}

inline void input_registers(std::uint32_t second, std::uint16_t (&registers)[kInputCount]) {
  const std::uint16_t pumps = pumps_running(second);
  registers[0] = level_cm(second);
  registers[1] = static_cast<std::uint16_t>(400 + 5 * (second % 60));
  registers[2] = static_cast<std::uint16_t>(350 * ((pumps & 1) + (pumps >> 1)));
  registers[3] = pumps;
  registers[4] = registers[0] >= 330 ? 1 : 0;
}

}  // namespace pump_station
