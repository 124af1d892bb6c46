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

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) { return list; }

TEST(port_functions, BeforeAnyModeIsChosenEveryOperationFails) {
  hardware_stand_in hw;
  BYTE b = 0x11;
  WORD w = 0x2222;
  DWORD d = 0x33333333;
  sequence_record record(0x300, io::kNoTimeLimit, {{io::op_write8, 0, 1}});
  EXPECT_FALSE(IORead8(nullptr, 0x300, &b));
  EXPECT_FALSE(IORead16(nullptr, 0x300, &w));
  EXPECT_FALSE(IORead32(nullptr, 0x300, &d));
  EXPECT_FALSE(IOWrite8(nullptr, 0x300, 1));
  EXPECT_FALSE(IOWrite16(nullptr, 0x300, 1));
  EXPECT_FALSE(IOWrite32(nullptr, 0x300, 1));
  EXPECT_FALSE(IOSequence(nullptr, record.data()));
  EXPECT_EQ(b, 0x11);
  EXPECT_EQ(w, 0x2222);
  EXPECT_EQ(d, 0x33333333u);
  EXPECT_TRUE(hw.device.requests().empty());
  EXPECT_TRUE(hw.ports().log().empty());
}

TEST(port_functions, DirectModeUsesThePortInstructionsThroughHandleOne) {
  hardware_stand_in hw(simulated_platform::windows9x);
  hw.ports().set_value(0x300, 0x5A);
  hw.ports().set_value(0x302, 0xBEEF);
  hw.ports().set_value(0x304, 0xDEADBEEF);
  HANDLE h = IOOpen();
  ASSERT_EQ(h, reinterpret_cast<HANDLE>(1));
  BYTE b = 0;
  WORD w = 0;
  DWORD d = 0;
  EXPECT_TRUE(IORead8(h, 0x10300, &b));  // the port is taken as 16 bits
  EXPECT_TRUE(IORead16(h, 0x302, &w));
  EXPECT_TRUE(IORead32(h, 0x304, &d));
  EXPECT_TRUE(IOWrite8(h, 0x308, 0x12));
  EXPECT_TRUE(IOWrite16(h, 0x30A, 0x3456));
  EXPECT_TRUE(IOWrite32(h, 0x30C, 0x789ABCDE));
  EXPECT_EQ(b, 0x5A);
  EXPECT_EQ(w, 0xBEEF);
  EXPECT_EQ(d, 0xDEADBEEFu);
  const std::vector<access> expected = {{false, 8, 0x300, 0x5A},        {false, 16, 0x302, 0xBEEF},
                                        {false, 32, 0x304, 0xDEADBEEF}, {true, 8, 0x308, 0x12},
                                        {true, 16, 0x30A, 0x3456},      {true, 32, 0x30C, 0x789ABCDE}};
  EXPECT_EQ(hw.ports().log(), expected);
  // Neither detection nor the port functions talk to a device in the direct mode.
  EXPECT_TRUE(hw.device.requests().empty());
  EXPECT_EQ(hw.device.opens(), 0);
  IOClose(h);
}

TEST(port_functions, DeviceModeSendsOneRequestPerCallInTheWireLayout) {
  hardware_stand_in hw;
  hw.ports().set_value(0x1234, 0x89ABCDEF);
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  const auto before = hw.device.requests().size();
  BYTE b = 0;
  WORD w = 0;
  DWORD d = 0;
  EXPECT_TRUE(IORead8(h, 0x1234, &b));
  EXPECT_TRUE(IORead16(h, 0x1234, &w));
  EXPECT_TRUE(IORead32(h, 0x1234, &d));
  EXPECT_TRUE(IOWrite8(h, 0x1240, 0xA1));
  EXPECT_TRUE(IOWrite16(h, 0x1242, 0xB2C3));
  EXPECT_TRUE(IOWrite32(h, 0x1244, 0xD4E5F607));
  EXPECT_EQ(b, 0xEF);
  EXPECT_EQ(w, 0xCDEF);
  EXPECT_EQ(d, 0x89ABCDEFu);

  struct wire {
    std::uint32_t code;
    std::vector<std::uint8_t> input;
    std::uint32_t out_size;
  };
  const wire expected[] = {
      {req::read_port8, bytes({0x34, 0x12, 0, 0}), 1},
      {req::read_port16, bytes({0x34, 0x12, 0, 0}), 2},
      {req::read_port32, bytes({0x34, 0x12, 0, 0}), 4},
      {req::write_port8, bytes({0x40, 0x12, 0, 0, 0xA1}), 0},
      {req::write_port16, bytes({0x42, 0x12, 0, 0, 0xC3, 0xB2}), 0},
      {req::write_port32, bytes({0x44, 0x12, 0, 0, 0x07, 0xF6, 0xE5, 0xD4}), 0},
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
  IOClose(h);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(port_functions, FailedDeviceReadsGiveAllOnesAndTheDevicesError) {
  hardware_stand_in hw;
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  hw.device.rejected = {req::read_port8, req::read_port16, req::read_port32, req::write_port8};
  BYTE b = 0;
  WORD w = 0;
  DWORD d = 0;
  SetLastError(0);
  EXPECT_FALSE(IORead8(h, 0x300, &b));
  EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
  EXPECT_FALSE(IORead16(h, 0x300, &w));
  EXPECT_FALSE(IORead32(h, 0x300, &d));
  EXPECT_EQ(b, 0xFF);
  EXPECT_EQ(w, 0xFFFF);
  EXPECT_EQ(d, 0xFFFFFFFFu);
  SetLastError(0);
  EXPECT_FALSE(IOWrite8(h, 0x300, 1));
  EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
  EXPECT_TRUE(IOWrite16(h, 0x300, 1));
  IOClose(h);
}

TEST(port_functions, WithoutTheDeviceOpenFailsAndOutputsStayUntouched) {
  hardware_stand_in hw;
  hw.device.present = false;
  EXPECT_EQ(IOOpen(), nullptr);
  BYTE b = 0x11;
  DWORD d = 0x33;
  EXPECT_FALSE(IORead8(reinterpret_cast<HANDLE>(1), 0x300, &b));
  EXPECT_FALSE(IORead32(reinterpret_cast<HANDLE>(1), 0x300, &d));
  EXPECT_EQ(b, 0x11);
  EXPECT_EQ(d, 0x33u);
  EXPECT_TRUE(hw.device.requests().empty());
}

TEST(port_functions, OpenFailureSwitchesOnlyTheNarrowOperations) {
  hardware_stand_in hw;
  hw.ports().set_value(0x300, 0x12345678);
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  // Detection still finds the device, but the port handle cannot be had.
  hw.device.opens_left = 1;
  EXPECT_EQ(IOOpen(), nullptr);
  const auto before = hw.device.requests().size();
  BYTE b = 0x11;
  WORD w = 0x2222;
  EXPECT_FALSE(IORead8(h, 0x300, &b));
  EXPECT_FALSE(IORead16(h, 0x300, &w));
  EXPECT_FALSE(IOWrite8(h, 0x300, 1));
  EXPECT_FALSE(IOWrite16(h, 0x300, 1));
  EXPECT_EQ(b, 0x11);
  EXPECT_EQ(w, 0x2222);
  EXPECT_EQ(hw.device.requests().size(), before);
  DWORD d = 0;
  EXPECT_TRUE(IORead32(h, 0x300, &d));
  EXPECT_EQ(d, 0x12345678u);
  EXPECT_TRUE(IOWrite32(h, 0x304, 7));
  sequence_record record(0x300, io::kNoTimeLimit, {{io::op_read8, 0}});
  EXPECT_TRUE(IOSequence(h, record.data()));
  EXPECT_EQ(record.value(0) & 0xFF, 0x78u);
  IOClose(h);
}

TEST(port_functions, NullValuePointerFailsWithoutAccess) {
  hardware_stand_in hw(simulated_platform::windows9x);
  HANDLE h = IOOpen();
  EXPECT_FALSE(IORead8(h, 0x300, nullptr));
  EXPECT_FALSE(IORead16(h, 0x300, nullptr));
  EXPECT_FALSE(IORead32(h, 0x300, nullptr));
  EXPECT_TRUE(hw.ports().log().empty());
}

TEST(port_functions, IOCloseClosesOnlyDeviceHandles) {
  hardware_stand_in hw;
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(hw.device.open_handles(), 1);
  IOClose(nullptr);
  EXPECT_EQ(hw.device.open_handles(), 1);
  IOClose(h);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

}  // namespace
}  // namespace tambre::test
