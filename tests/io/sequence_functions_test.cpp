// IOSequence and PCISequence in the direct mode (the library's interpreter on the
// machine's clock) and in the device mode (one request carrying the whole record).
#include <gtest/gtest.h>

#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "io/sequence_record.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

using io::op_read16;
using io::op_wait8;
using io::op_write8;

struct sequence_mode : ::testing::TestWithParam<simulated_platform> {
  hardware_stand_in hw{GetParam()};
  HANDLE port = nullptr;
  void SetUp() override {
    port = IOOpen();
    ASSERT_NE(port, nullptr);
  }
  void TearDown() override { IOClose(port); }
};

TEST_P(sequence_mode, ResultsAreWrittenBackIntoTheRecord) {
  hw.ports().set_value(0x304, 0xA5A5);
  hw.ports().set_ready_after_reads(0x301, 0x00, 0x80, 3);
  sequence_record record(0x300, io::kNoTimeLimit,
                         {{op_write8, 0, 0x01}, {op_wait8, 1, 0, 0x80, 0x80}, {op_read16, 4, 0xFFFF0000}});
  EXPECT_TRUE(PCISequence(port, record.data()));
  EXPECT_EQ(record.value(1), 0x80u);
  EXPECT_EQ(record.value(2), 0xFFFFA5A5u);
  EXPECT_EQ(hw.ports().reads_of(0x301), 4);
}

TEST_P(sequence_mode, OutcomeAndErrorOfTheInterpreterReachTheCaller) {
  const struct {
    const char* name;
    std::uint32_t timeout_ms;
    std::vector<sequence_step> steps;
    bool ok;
    DWORD error;   // when it fails
    DWORD min_ms;  // on the machine's own clock
  } rows[] = {
      {"count zero succeeds at once", io::kNoTimeLimit, {}, true, 0, 0},
      {"invalid code after a valid item",
       io::kNoTimeLimit,
       {{op_write8, 0, 0x42}, {3, 1, 0x43}},
       false,
       0x80070057u,
       0},
      {"wait past the time limit", 100, {{op_wait8, 0, 0, 1, 1}}, false, 1460, 100},
  };
  for (const auto& r : rows) {
    sequence_record record(0x300, r.timeout_ms, r.steps);
    SetLastError(0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(IOSequence(port, record.data()) != FALSE, r.ok) << r.name;
    EXPECT_GE(GetTickCount() - start, r.min_ms) << r.name;
    if (!r.ok) {
      EXPECT_EQ(GetLastError(), r.error) << r.name;
    }
  }
  // Only the valid item before the invalid one ran; the wait then read what it wrote.
  ASSERT_GE(hw.ports().log().size(), 2u);
  EXPECT_EQ(hw.ports().log()[0], (simulated_ports::access{true, 8, 0x300, 0x42}));
  EXPECT_EQ(hw.ports().log()[1], (simulated_ports::access{false, 8, 0x300, 0x42}));
  SetLastError(0);
  EXPECT_FALSE(IOSequence(port, nullptr));
  EXPECT_EQ(GetLastError(), 0x80070057u);
}

INSTANTIATE_TEST_SUITE_P(modes, sequence_mode,
                         ::testing::Values(simulated_platform::windows9x, simulated_platform::nt5),
                         [](const auto& info) {
                           return info.param == simulated_platform::windows9x ? "direct" : "device";
                         });

TEST(sequence_device, WholeRecordTravelsBothWaysWithFortyPlusTwentyFourBytes) {
  hardware_stand_in hw;
  HANDLE port = IOOpen();
  ASSERT_NE(port, nullptr);
  sequence_record record(0x300, io::kNoTimeLimit, {{op_write8, 0, 1}, {op_write8, 1, 2}, {op_write8, 2, 3}});
  ASSERT_TRUE(IOSequence(port, record.data()));
  const auto sent = hw.device.requests_with(io::request::run_sequence);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].device, port);
  EXPECT_EQ(sent[0].input.size(), 40u + 24u * 3);
  EXPECT_EQ(sent[0].out_size, 40u + 24u * 3);
  EXPECT_EQ(sent[0].input, record.bytes());
  // A count too large for one request fails before anything is sent.
  base::store_le32(record.data() + 8, 0x7FFFFFFF);
  SetLastError(0);
  EXPECT_FALSE(IOSequence(port, record.data()));
  EXPECT_EQ(GetLastError(), 0x80070057u);
  EXPECT_EQ(hw.device.requests_with(io::request::run_sequence).size(), 1u);
  IOClose(port);
}

}  // namespace
}  // namespace tambre::test
