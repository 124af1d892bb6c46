// The sequence interpreter against a scripted port space and a clock the test moves.
#include "io/port_sequence.h"

#include <gtest/gtest.h>

#include "io/sequence_record.h"
#include "io/simulated_ports.h"

namespace tambre::test {
namespace {

using namespace io;
using access = simulated_ports::access;

struct interpreter : ::testing::Test {
  std::uint32_t now = 0, step = 1;  // the clock moves by `step` ms each time it is read
  simulated_ports ports;
  std::uint32_t run(sequence_record& record, std::size_t size = 0) {
    return run_port_sequence(record.data(), size ? size : record.size(), ports, [this] { return now += step; });
  }
};

TEST_F(interpreter, ReadsWritesAtBasePlusOffsetInEveryWidth) {
  ports.set_value(0x301, 0xAB);
  ports.set_value(0x302, 0xBEEF);
  ports.set_value(0x304, 0x12345678);
  ports.set_value(0x0010, 0x5A);
  sequence_record record(0x300, kNoTimeLimit,
                         {{op_write8, 0, 0x1FF},
                          {op_read8, 1, 0xFFFFFF00},
                          {op_read16, 2, 0x77770000},
                          {op_read32, 4},
                          {op_write16, 6, 0x12345},
                          {op_write32, 8, 0xCAFEBABE},
                          {op_read8, 0xFD10, 0x12345600}});  // the port is taken as 16 bits
  ASSERT_EQ(run(record), kSequenceDone);
  // A narrow read fills only the low bits of the value field.
  EXPECT_EQ(record.value(1), 0xFFFFFFABu);
  EXPECT_EQ(record.value(2), 0x7777BEEFu);
  EXPECT_EQ(record.value(3), 0x12345678u);
  EXPECT_EQ(record.value(6), 0x1234565Au);
  const std::vector<access> expected = {{true, 8, 0x300, 0xFF},     {false, 8, 0x301, 0xAB},
                                        {false, 16, 0x302, 0xBEEF}, {false, 32, 0x304, 0x12345678},
                                        {true, 16, 0x306, 0x2345},  {true, 32, 0x308, 0xCAFEBABE},
                                        {false, 8, 0x0010, 0x5A}};
  EXPECT_EQ(ports.log(), expected);
}

TEST_F(interpreter, BadCountsCodesAndShortRecordsStopAfterTheItemsBeforeThem) {
  for (std::int32_t count : {0, -1, INT32_MIN}) {
    sequence_record record(0x300, kNoTimeLimit, {{op_write8, 0, 1}});
    base::store_le32(record.data() + 8, static_cast<std::uint32_t>(count));
    EXPECT_EQ(run(record), kSequenceDone) << count;
    EXPECT_EQ(run(record, 16), kSequenceDone) << count << ": the header alone";
  }
  EXPECT_TRUE(ports.log().empty());
  for (std::uint32_t bad : {3u, 7u, 11u, 12u, 0x80000000u}) {
    ports = simulated_ports();
    sequence_record record(0x300, kNoTimeLimit, {{op_write8, 0, 0x42}, {bad, 1, 0x43}, {op_write8, 2, 0x44}});
    EXPECT_EQ(run(record), kSequenceBadItem) << bad;
    EXPECT_EQ(ports.log(), (std::vector<access>{{true, 8, 0x300, 0x42}})) << bad;
  }
  ports = simulated_ports();
  sequence_record record(0x300, kNoTimeLimit, {{op_write8, 0, 1}, {op_write8, 1, 2}});
  base::store_le32(record.data() + 8, 1000);  // more items than the record holds
  EXPECT_EQ(run(record), kSequenceBadItem);
  EXPECT_EQ(ports.log().size(), 2u);
  EXPECT_EQ(run(record, 15), kSequenceBadItem) << "shorter than its header";
  EXPECT_EQ(ports.log().size(), 2u);
}

TEST_F(interpreter, WaitEndsWhenTheMaskedValueMatchesAndKeepsIt) {
  const struct {
    std::uint32_t operation, busy, ready, mask, expected;
  } rows[] = {
      {op_wait8, 0x00, 0x81, 0x80, 0x80},
      {op_wait16, 0x0F00, 0x0A55, 0x0F0F, 0x0A05},
      {op_wait32, 0x80000001, 0x00000001, 0x80000000, 0},
  };
  for (const auto& r : rows) {
    ports = simulated_ports();
    ports.set_ready_after_reads(0x310, r.busy, r.ready, 5);
    sequence_record record(0x300, kNoTimeLimit, {{r.operation, 0x10, 0, r.mask, r.expected}});
    EXPECT_EQ(run(record), kSequenceDone) << r.operation;
    EXPECT_EQ(ports.reads_of(0x310), 6) << r.operation;
    EXPECT_EQ(record.value(0), r.expected) << r.operation;
  }
  // Without a limit only the reads count: the clock is never asked.
  ports.set_ready_after_reads(0x300, 0, 1, 100000);
  sequence_record record(0x300, kNoTimeLimit, {{op_wait8, 0, 0, 1, 1}});
  EXPECT_EQ(run(record), kSequenceDone);
  EXPECT_EQ(now, 0u);
}

TEST_F(interpreter, TimeOutCountsFromTheStartOfTheSequenceAndAcrossTheWrap) {
  step = 10;
  // The first wait takes about 60 ms, so the second has only about 40 ms of the 100 left.
  ports.set_ready_after_reads(0x300, 0, 1, 5);
  ports.set_value(0x301, 0);
  sequence_record record(0x300, 100, {{op_wait8, 0, 0, 1, 1}, {op_wait8, 1, 0, 1, 1}});
  EXPECT_EQ(run(record), kSequenceTimeout);
  EXPECT_GT(now, 100u);
  EXPECT_LE(now, 100u + 2 * step);
  EXPECT_EQ(ports.reads_of(0x301), 6);

  now = 0xFFFFFFF0;
  sequence_record wrapping(0x300, 50, {{op_wait8, 1, 0, 1, 1}});
  EXPECT_EQ(run(wrapping), kSequenceTimeout);
  EXPECT_GE(now, 0x30u);  // wrapped, and stopped about 50 ms after the start
  EXPECT_LT(now, 0x50u);
}

TEST(sequence_length, FortyPlusTwentyFourPerItemOrZeroWhenTooLong) {
  EXPECT_EQ(sequence_request_length(0), 40u);
  EXPECT_EQ(sequence_request_length(-5), 40u);
  EXPECT_EQ(sequence_request_length(1), 64u);
  EXPECT_EQ(sequence_request_length(3), 112u);
  EXPECT_EQ(sequence_request_length(178956969), 40u + 24u * 178956969u);
  EXPECT_EQ(sequence_request_length(178956970), 0u);
  EXPECT_EQ(sequence_request_length(INT32_MAX), 0u);
}

}  // namespace
}  // namespace tambre::test
