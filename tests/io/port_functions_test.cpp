// The exported port functions in the three access modes, over the simulated device.
#include <gtest/gtest.h>

#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "io/sequence_record.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

using access = simulated_ports::access;
namespace req = io::request;

// The six port operations on one handle: reads of 8, 16 and 32 bits at base, base + 2 and
// base + 4, writes of 0x12, 0x3456 and 0x789ABCDE at base + 8, base + 10 and base + 12.
// The outputs start with values no read gives.
struct every_width {
  BYTE b = 0x11;
  WORD w = 0x2222;
  DWORD d = 0x33333333;
  std::vector<bool> ok;
  every_width(HANDLE h, DWORD base)
      : ok{IORead8(h, base, &b) != FALSE,
           IORead16(h, base + 2, &w) != FALSE,
           IORead32(h, base + 4, &d) != FALSE,
           IOWrite8(h, base + 8, 0x12) != FALSE,
           IOWrite16(h, base + 10, 0x3456) != FALSE,
           IOWrite32(h, base + 12, 0x789ABCDE) != FALSE} {}
};

const std::vector<bool> kAllFail(6, false);
const std::vector<bool> kAllSucceed(6, true);

// What the card answers at base, base + 2 and base + 4.
void script_card(simulated_ports& ports, std::uint16_t base) {
  ports.set_value(base, 0x5A);
  ports.set_value(base + 2, 0xBEEF);
  ports.set_value(base + 4, 0xDEADBEEF);
}

TEST(port_functions, BeforeAnyModeIsChosenEveryOperationFails) {
  hardware_stand_in hw;
  sequence_record record(0x300, io::kNoTimeLimit, {{io::op_write8, 0, 1}});
  const every_width ops(nullptr, 0x300);
  EXPECT_EQ(ops.ok, kAllFail);
  EXPECT_FALSE(IOSequence(nullptr, record.data()));
  EXPECT_EQ(ops.b, 0x11);
  EXPECT_EQ(ops.w, 0x2222);
  EXPECT_EQ(ops.d, 0x33333333u);
  EXPECT_TRUE(hw.device.requests().empty());
  EXPECT_TRUE(hw.ports().log().empty());
}

TEST(port_functions, DirectModeUsesThePortInstructionsThroughHandleOne) {
  hardware_stand_in hw(simulated_platform::windows9x);
  script_card(hw.ports(), 0x300);
  HANDLE h = IOOpen();
  ASSERT_EQ(h, reinterpret_cast<HANDLE>(1));
  const every_width ops(h, 0x10300);  // the port is taken as 16 bits
  EXPECT_EQ(ops.ok, kAllSucceed);
  EXPECT_EQ(ops.b, 0x5A);
  EXPECT_EQ(ops.w, 0xBEEF);
  EXPECT_EQ(ops.d, 0xDEADBEEFu);
  const std::vector<access> expected = {{false, 8, 0x300, 0x5A},        {false, 16, 0x302, 0xBEEF},
                                        {false, 32, 0x304, 0xDEADBEEF}, {true, 8, 0x308, 0x12},
                                        {true, 16, 0x30A, 0x3456},      {true, 32, 0x30C, 0x789ABCDE}};
  EXPECT_EQ(hw.ports().log(), expected);
  // Neither detection nor the port functions talk to a device in the direct mode.
  EXPECT_TRUE(hw.device.requests().empty());
  EXPECT_EQ(hw.device.opens(), 0);
  // A null value pointer fails without a port access.
  const auto accesses = hw.ports().log().size();
  EXPECT_FALSE(IORead8(h, 0x300, nullptr));
  EXPECT_FALSE(IORead16(h, 0x300, nullptr));
  EXPECT_FALSE(IORead32(h, 0x300, nullptr));
  EXPECT_EQ(hw.ports().log().size(), accesses);
  IOClose(h);
}

TEST(port_functions, DeviceModeSendsOneRequestPerCallInTheWireLayout) {
  hardware_stand_in hw;
  script_card(hw.ports(), 0x1234);
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  const auto before = hw.device.requests().size();
  const every_width ops(h, 0x1234);
  EXPECT_EQ(ops.ok, kAllSucceed);
  EXPECT_EQ(ops.b, 0x5A);
  EXPECT_EQ(ops.w, 0xBEEF);
  EXPECT_EQ(ops.d, 0xDEADBEEFu);

  struct wire {
    std::uint32_t code;
    std::vector<std::uint8_t> input;
    std::uint32_t out_size;
  };
  const wire expected[] = {
      {req::read_port8, {0x34, 0x12, 0, 0}, 1},
      {req::read_port16, {0x36, 0x12, 0, 0}, 2},
      {req::read_port32, {0x38, 0x12, 0, 0}, 4},
      {req::write_port8, {0x3C, 0x12, 0, 0, 0x12}, 0},
      {req::write_port16, {0x3E, 0x12, 0, 0, 0x56, 0x34}, 0},
      {req::write_port32, {0x40, 0x12, 0, 0, 0xDE, 0xBC, 0x9A, 0x78}, 0},
  };
  const auto& seen = hw.device.requests();
  ASSERT_EQ(seen.size() - before, std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& r = seen[before + i];
    EXPECT_EQ(r.device, h) << i;
    EXPECT_EQ(r.code, expected[i].code) << i;
    EXPECT_EQ(r.input, expected[i].input) << i;
    EXPECT_EQ(r.out_size, expected[i].out_size) << i;
  }
  IOClose(nullptr);  // closes only device handles
  EXPECT_EQ(hw.device.open_handles(), 1);
  IOClose(h);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(port_functions, FailedDeviceReadsGiveAllOnesAndTheDevicesError) {
  hardware_stand_in hw;
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  hw.device.rejected = {req::read_port8, req::read_port16, req::read_port32, req::write_port8};
  BYTE b = 0;
  SetLastError(0);
  EXPECT_FALSE(IORead8(h, 0x300, &b));
  EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
  SetLastError(0);
  EXPECT_FALSE(IOWrite8(h, 0x300, 1));
  EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
  const every_width ops(h, 0x300);
  EXPECT_EQ(ops.ok, (std::vector<bool>{false, false, false, false, true, true}));
  EXPECT_EQ(ops.b, 0xFF);
  EXPECT_EQ(ops.w, 0xFFFF);
  EXPECT_EQ(ops.d, 0xFFFFFFFFu);
  IOClose(h);
}

TEST(port_functions, OpenFailureSwitchesOnlyTheNarrowOperations) {
  hardware_stand_in hw;
  hw.ports().set_value(0x300, 0x12345678);
  hw.ports().set_value(0x304, 0xCAFEF00D);
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  // Detection still finds the device, but the port handle cannot be had.
  hw.device.opens_left = 1;
  EXPECT_EQ(IOOpen(), nullptr);
  const every_width ops(h, 0x300);
  EXPECT_EQ(ops.ok, (std::vector<bool>{false, false, true, false, false, true}));
  EXPECT_EQ(ops.b, 0x11);
  EXPECT_EQ(ops.w, 0x2222);
  EXPECT_EQ(ops.d, 0xCAFEF00Du);
  for (std::uint32_t narrow : {req::read_port8, req::read_port16, req::write_port8, req::write_port16}) {
    EXPECT_TRUE(hw.device.requests_with(narrow).empty()) << narrow;
  }
  sequence_record record(0x300, io::kNoTimeLimit, {{io::op_read8, 0}});
  EXPECT_TRUE(IOSequence(h, record.data()));
  EXPECT_EQ(record.value(0) & 0xFF, 0x78u);
  IOClose(h);
}

}  // namespace
}  // namespace tambre::test
