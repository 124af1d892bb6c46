// IODeviceInstalled(Ex) and IORegister over the simulated device.
#include <gtest/gtest.h>

#include <optional>

#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

struct verdict_row {
  const char* name;
  std::optional<std::uint32_t> version_word;      // none: the device does not answer
  std::optional<WORD> capabilities, min_version;  // none: IODeviceInstalled, bits 3 and any version
  BOOL installed;
};

TEST(device_detection, VersionAndCapabilityVerdicts) {
  const verdict_row rows[] = {
      {"silent device counts as 3/0x0300: needs bits 3", std::nullopt, 3, 0, FALSE},
      {"silent device: bit 0x0100, version 3", std::nullopt, 0x0100, 3, TRUE},
      {"silent device: bit 0x0100, version 4", std::nullopt, 0x0100, 4, FALSE},
      {"silent device: both high bits", std::nullopt, 0x0300, 0, TRUE},
      {"version 5 with bits 3", 0x00050003, 3, 5, TRUE},
      {"version 5 too old for 6", 0x00050003, 3, 6, FALSE},
      {"missing bit 4", 0x00050003, 4, 0, FALSE},
      {"no requirement", 0x00000000, 0, 0, TRUE},
      {"version 0xFFFF", 0xFFFF0000, 0, 0xFFFF, TRUE},
      {"default: version 1 with bits 3", 0x00010003, std::nullopt, std::nullopt, TRUE},
      {"default: version 9 without capability 2", 0x00090001, std::nullopt, std::nullopt, FALSE},
  };
  for (const verdict_row& r : rows) {
    hardware_stand_in hw;
    hw.device.version_word = r.version_word;
    const BOOL installed = r.capabilities ? IODeviceInstalledEx(*r.capabilities, *r.min_version) : IODeviceInstalled();
    EXPECT_EQ(installed, r.installed) << r.name;
    const auto asked = hw.device.requests_with(io::request::query_version);
    ASSERT_EQ(asked.size(), 1u) << r.name;
    EXPECT_TRUE(asked[0].input.empty()) << r.name;
    EXPECT_EQ(asked[0].out_size, 4u) << r.name;
    EXPECT_EQ(hw.device.open_handles(), 0) << r.name;
  }
  hardware_stand_in hw;
  hw.device.present = false;
  EXPECT_FALSE(IODeviceInstalled());
}

TEST(io_register, ChoosesTheModeByPlatformAndDevice) {
  struct row {
    const char* name;
    simulated_platform platform;
    bool present;
    BOOL registered;
    bool reads_port;  // an 8-bit read through the table reaches the port space
    bool via_device;  // ... by a device request
  };
  const row rows[] = {
      {"9x: direct", simulated_platform::windows9x, false, TRUE, true, false},
      {"NT with device", simulated_platform::nt5, true, TRUE, true, true},
      {"NT 4 with device", simulated_platform::nt4, true, TRUE, true, true},
      {"NT without device", simulated_platform::nt5, false, FALSE, false, false},
  };
  for (const row& r : rows) {
    hardware_stand_in hw(r.platform);
    hw.device.present = r.present;
    hw.device.version_word = 0x00050003;
    hw.ports().set_value(0x300, 0x42);
    EXPECT_EQ(IORegister(), r.registered) << r.name;
    std::uint32_t error = 0;
    HANDLE device = hw.device.present ? hw.device.open(io::kDeviceName, true, error) : nullptr;
    BYTE value = 0;
    EXPECT_EQ(IORead8(device, 0x300, &value) != FALSE, r.reads_port) << r.name;
    EXPECT_EQ(value, r.reads_port ? 0x42 : 0) << r.name;
    EXPECT_EQ(hw.device.requests_with(io::request::read_port8).size(), r.via_device ? 1u : 0u) << r.name;
  }
}

TEST(io_register, AnOldDeviceCountsAsMissing) {
  hardware_stand_in hw;
  hw.device.version_word = 0x00050001;  // lacks capability bit 2
  EXPECT_FALSE(IORegister());
  EXPECT_EQ(IOOpen(), nullptr);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

}  // namespace
}  // namespace tambre::test
