// Detection, the three access modes and the port sequences through the exported
// functions, over the simulated device.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "io/sequence_record.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

using access = simulated_ports::access;
namespace req = io::request;

// The six port operations on one handle: reads of 8, 16 and 32 bits at base, base + 2 and
// base + 4, writes at base + 8, base + 10 and base + 12. The outputs start with values no
// read gives.
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

void script_card(simulated_ports& ports, std::uint16_t base) {
  ports.set_value(base, 0x5A);
  ports.set_value(base + 2, 0xBEEF);
  ports.set_value(base + 4, 0xDEADBEEF);
}

TEST(port_access, DetectionVerdictsAndTheModeEachPlatformGets) {
  const struct {
    const char* name;
    std::optional<std::uint32_t> version_word;      // none: the device does not answer
    std::optional<WORD> capabilities, min_version;  // none: IODeviceInstalled
    BOOL installed;
  } verdicts[] = {
      {"silent device counts as 3/0x0300: needs bits 3", std::nullopt, 3, 0, FALSE},
      {"silent device: bit 0x0100, version 3", std::nullopt, 0x0100, 3, TRUE},
      {"silent device: bit 0x0100, version 4", std::nullopt, 0x0100, 4, FALSE},
      {"version 5 too old for 6", 0x00050003, 3, 6, FALSE},
      {"missing bit 4", 0x00050003, 4, 0, FALSE},
      {"version 0xFFFF", 0xFFFF0000, 0, 0xFFFF, TRUE},
      {"default: version 1 with bits 3", 0x00010003, std::nullopt, std::nullopt, TRUE},
      {"default: version 9 without capability 2", 0x00090001, std::nullopt, std::nullopt, FALSE},
  };
  for (const auto& r : verdicts) {
    hardware_stand_in hw;
    hw.device.version_word = r.version_word;
    EXPECT_EQ(r.capabilities ? IODeviceInstalledEx(*r.capabilities, *r.min_version) : IODeviceInstalled(), r.installed)
        << r.name;
    const auto asked = hw.device.requests_with(req::query_version);
    ASSERT_EQ(asked.size(), 1u) << r.name;
    EXPECT_TRUE(asked[0].input.empty() && asked[0].out_size == 4u) << r.name;
    EXPECT_EQ(hw.device.open_handles(), 0) << r.name;
  }
  const struct {
    const char* name;
    simulated_platform platform;
    std::uint32_t version_word;
    bool present;
    BOOL registered;
    bool via_device;  // an 8-bit read reaches the port space by a device request
  } modes[] = {
      {"9x: direct", simulated_platform::windows9x, 0x00050003, false, TRUE, false},
      {"NT with device", simulated_platform::nt5, 0x00050003, true, TRUE, true},
      {"NT 4 with device", simulated_platform::nt4, 0x00050003, true, TRUE, true},
      {"NT without device", simulated_platform::nt5, 0x00050003, false, FALSE, false},
      {"device lacking capability 2", simulated_platform::nt5, 0x00050001, true, FALSE, false},
  };
  for (const auto& r : modes) {
    hardware_stand_in hw(r.platform);
    hw.device.present = r.present;
    hw.device.version_word = r.version_word;
    hw.ports().set_value(0x300, 0x42);
    EXPECT_EQ(IORegister(), r.registered) << r.name;
    std::uint32_t error = 0;
    HANDLE device = r.via_device ? hw.device.open(io::kDeviceName, true, error) : nullptr;
    BYTE value = 0;
    EXPECT_EQ(IORead8(device, 0x300, &value) != FALSE, r.registered != FALSE) << r.name;
    EXPECT_EQ(value, r.registered ? 0x42 : 0) << r.name;
    EXPECT_EQ(hw.device.requests_with(req::read_port8).size(), r.via_device ? 1u : 0u) << r.name;
    if (!r.registered) {
      EXPECT_EQ(IOOpen(), nullptr) << r.name;
      EXPECT_EQ(hw.device.open_handles(), 0) << r.name;
    }
  }
}

// The direct mode uses the port instructions through handle 1, the device mode one
// request per call; the simulated device decodes each request by the device's layout,
// so the port log shows what reached the card either way.
TEST(port_access, BothModesReachThePortsAndFailuresGiveAllOnes) {
  {
    hardware_stand_in hw;  // no mode chosen yet: everything fails, nothing is touched
    sequence_record record(0x300, io::kNoTimeLimit, {{io::op_write8, 0, 1}});
    const every_width ops(nullptr, 0x300);
    EXPECT_EQ(ops.ok, std::vector<bool>(6, false));
    EXPECT_FALSE(IOSequence(nullptr, record.data()));
    EXPECT_EQ(ops.b, 0x11);
    EXPECT_EQ(ops.d, 0x33333333u);
    EXPECT_TRUE(hw.device.requests().empty());
    EXPECT_TRUE(hw.ports().log().empty());
  }
  for (const auto platform : {simulated_platform::windows9x, simulated_platform::nt5}) {
    const bool direct = platform == simulated_platform::windows9x;
    SCOPED_TRACE(direct ? "direct" : "device");
    hardware_stand_in hw(platform);
    script_card(hw.ports(), 0x300);
    HANDLE h = IOOpen();
    ASSERT_EQ(h == reinterpret_cast<HANDLE>(1), direct);
    const auto before = hw.device.requests().size();
    const every_width ops(h, 0x10300);  // the port is taken as 16 bits
    EXPECT_EQ(ops.ok, std::vector<bool>(6, true));
    EXPECT_EQ(ops.b, 0x5A);
    EXPECT_EQ(ops.w, 0xBEEF);
    EXPECT_EQ(ops.d, 0xDEADBEEFu);
    const std::vector<access> expected = {{false, 8, 0x300, 0x5A},        {false, 16, 0x302, 0xBEEF},
                                          {false, 32, 0x304, 0xDEADBEEF}, {true, 8, 0x308, 0x12},
                                          {true, 16, 0x30A, 0x3456},      {true, 32, 0x30C, 0x789ABCDE}};
    EXPECT_EQ(hw.ports().log(), expected);
    const auto& seen = hw.device.requests();
    EXPECT_EQ(seen.size() - before, direct ? 0u : 6u);
    for (std::size_t i = before; i < seen.size(); ++i) EXPECT_EQ(seen[i].device, h);
    EXPECT_FALSE(IORead8(h, 0x300, nullptr));
    EXPECT_FALSE(IORead32(h, 0x300, nullptr));
    EXPECT_EQ(hw.ports().log().size(), expected.size());
    if (direct) {
      EXPECT_EQ(hw.device.opens(), 0);
      continue;
    }
    hw.device.rejected = {req::read_port8, req::read_port16, req::read_port32, req::write_port8};
    SetLastError(0);
    const every_width failed(h, 0x300);
    EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
    EXPECT_EQ(failed.ok, (std::vector<bool>{false, false, false, false, true, true}));
    EXPECT_EQ(failed.b, 0xFF);
    EXPECT_EQ(failed.w, 0xFFFF);
    EXPECT_EQ(failed.d, 0xFFFFFFFFu);
    IOClose(nullptr);  // closes only device handles
    EXPECT_EQ(hw.device.open_handles(), 1);
    IOClose(h);
    EXPECT_EQ(hw.device.open_handles(), 0);
  }
}

TEST(port_access, OpenFailureSwitchesOnlyTheNarrowOperations) {
  hardware_stand_in hw;
  hw.ports().set_value(0x300, 0x12345678);
  hw.ports().set_value(0x304, 0xCAFEF00D);
  HANDLE h = IOOpen();
  ASSERT_NE(h, nullptr);
  hw.device.opens_left = 1;  // detection still finds the device, the port handle fails
  EXPECT_EQ(IOOpen(), nullptr);
  const every_width ops(h, 0x300);
  EXPECT_EQ(ops.ok, (std::vector<bool>{false, false, true, false, false, true}));
  EXPECT_EQ(ops.d, 0xCAFEF00Du);
  for (std::uint32_t narrow : {req::read_port8, req::read_port16, req::write_port8, req::write_port16}) {
    EXPECT_TRUE(hw.device.requests_with(narrow).empty()) << narrow;
  }
  sequence_record record(0x300, io::kNoTimeLimit, {{io::op_read8, 0}});
  EXPECT_TRUE(IOSequence(h, record.data()));
  EXPECT_EQ(record.value(0) & 0xFF, 0x78u);
  IOClose(h);
}

struct sequence_mode : ::testing::TestWithParam<simulated_platform> {
  hardware_stand_in hw{GetParam()};
};

// The library's interpreter on the machine's clock (direct) or one request carrying the
// whole record (device): results, failures and their errors reach the caller alike.
TEST_P(sequence_mode, ResultsAndFailuresReachTheCaller) {
  HANDLE port = IOOpen();
  ASSERT_NE(port, nullptr);
  hw.ports().set_value(0x304, 0xA5A5);
  hw.ports().set_ready_after_reads(0x301, 0x00, 0x80, 3);
  sequence_record record(0x300, io::kNoTimeLimit,
                         {{io::op_write8, 0, 0x01}, {io::op_wait8, 1, 0, 0x80, 0x80}, {io::op_read16, 4, 0xFFFF0000}});
  EXPECT_TRUE(PCISequence(port, record.data()));
  EXPECT_EQ(record.value(1), 0x80u);
  EXPECT_EQ(record.value(2), 0xFFFFA5A5u);
  EXPECT_EQ(hw.ports().reads_of(0x301), 4);
  if (GetParam() == simulated_platform::nt5) {
    const auto sent = hw.device.requests_with(req::run_sequence);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].input.size(), 40u + 24u * 3);
    EXPECT_EQ(sent[0].out_size, 40u + 24u * 3);
  }
  const struct {
    const char* name;
    std::uint32_t timeout_ms;
    std::vector<sequence_step> steps;
    DWORD error;   // 0: succeeds
    DWORD min_ms;  // on the machine's own clock
  } rows[] = {
      {"count zero succeeds at once", io::kNoTimeLimit, {}, 0, 0},
      {"invalid code after a valid item", io::kNoTimeLimit, {{io::op_write8, 0, 0x42}, {3, 9, 0x43}}, 0x80070057u, 0},
      {"wait past the time limit", 100, {{io::op_wait8, 0, 0, 1, 1}}, 1460, 100},
  };
  for (const auto& r : rows) {
    sequence_record failing(0x300, r.timeout_ms, r.steps);
    SetLastError(0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(IOSequence(port, failing.data()) != FALSE, r.error == 0) << r.name;
    EXPECT_GE(GetTickCount() - start, r.min_ms) << r.name;
    EXPECT_EQ(r.error == 0 ? 0u : GetLastError(), r.error) << r.name;
  }
  // The valid item before the invalid one ran, nothing after it; the wait read what it wrote.
  const auto& log = hw.ports().log();
  EXPECT_EQ(std::count(log.begin(), log.end(), access{true, 8, 0x300, 0x42}), 1);
  EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const access& a) { return a.port == 0x309; }));
  EXPECT_EQ(log.back(), (access{false, 8, 0x300, 0x42}));
  SetLastError(0);
  EXPECT_FALSE(IOSequence(port, nullptr));
  EXPECT_EQ(GetLastError(), 0x80070057u);
  if (GetParam() == simulated_platform::nt5) {
    const auto sent = hw.device.requests_with(req::run_sequence).size();
    base::store_le32(record.data() + 8, 0x7FFFFFFF);  // too large for one request: nothing is sent
    EXPECT_FALSE(IOSequence(port, record.data()));
    EXPECT_EQ(hw.device.requests_with(req::run_sequence).size(), sent);
  }
  IOClose(port);
}

INSTANTIATE_TEST_SUITE_P(modes, sequence_mode,
                         ::testing::Values(simulated_platform::windows9x, simulated_platform::nt5),
                         [](const auto& info) {
                           return info.param == simulated_platform::windows9x ? "direct" : "device";
                         });

}  // namespace
}  // namespace tambre::test
