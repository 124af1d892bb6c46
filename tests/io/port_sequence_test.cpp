// The sequence interpreter against a scripted port space and a clock the test moves.
#include "io/port_sequence.h"

#include <gtest/gtest.h>

#include "io/sequence_record.h"
#include "io/simulated_ports.h"

namespace tambre::test {
namespace {

using io::op_read16;
using io::op_read32;
using io::op_read8;
using io::op_wait16;
using io::op_wait32;
using io::op_wait8;
using io::op_write16;
using io::op_write32;
using io::op_write8;
using access = simulated_ports::access;

// A clock that moves by `step` ms each time it is read.
struct stepping_clock {
  std::uint32_t now = 0;
  std::uint32_t step = 1;
  io::millisecond_clock function() {
    return [this] { return now += step; };
  }
};

struct interpreter : ::testing::Test {
  stepping_clock clock;
  simulated_ports ports;
  std::uint32_t run(sequence_record& record) {
    return io::run_port_sequence(record.data(), record.size(), ports, clock.function());
  }
};

TEST_F(interpreter, ReadsWritesAtBasePlusOffsetInEveryWidth) {
  ports.set_value(0x301, 0xAB);
  ports.set_value(0x302, 0xBEEF);
  ports.set_value(0x304, 0x12345678);
  sequence_record record(0x300, io::kNoTimeLimit,
                         {{op_write8, 0, 0x1FF},
                          {op_read8, 1, 0xFFFFFF00},
                          {op_read16, 2, 0x77770000},
                          {op_read32, 4},
                          {op_write16, 6, 0x12345},
                          {op_write32, 8, 0xCAFEBABE}});
  ASSERT_EQ(run(record), io::kSequenceDone);
  // A narrow read fills only the low bits of the value field.
  EXPECT_EQ(record.value(1), 0xFFFFFFABu);
  EXPECT_EQ(record.value(2), 0x7777BEEFu);
  EXPECT_EQ(record.value(3), 0x12345678u);
  const std::vector<access> expected = {{true, 8, 0x300, 0xFF},     {false, 8, 0x301, 0xAB},
                                        {false, 16, 0x302, 0xBEEF}, {false, 32, 0x304, 0x12345678},
                                        {true, 16, 0x306, 0x2345},  {true, 32, 0x308, 0xCAFEBABE}};
  EXPECT_EQ(ports.log(), expected);
}

TEST_F(interpreter, PortIsTakenAsSixteenBits) {
  ports.set_value(0x0010, 0x5A);
  sequence_record record(0xFFF0, io::kNoTimeLimit, {{op_read8, 0x20}});
  ASSERT_EQ(run(record), io::kSequenceDone);
  EXPECT_EQ(record.value(0) & 0xFF, 0x5Au);
}

TEST_F(interpreter, CountZeroOrNegativeDoesNothing) {
  for (std::int32_t count : {0, -1, INT32_MIN}) {
    sequence_record record(0x300, io::kNoTimeLimit, {{op_write8, 0, 1}});
    base::store_le32(record.data() + 8, static_cast<std::uint32_t>(count));
    EXPECT_EQ(run(record), io::kSequenceDone) << count;
  }
  EXPECT_TRUE(ports.log().empty());
}

TEST_F(interpreter, InvalidCodeStopsAfterTheItemsBeforeIt) {
  for (std::uint32_t bad : {3u, 7u, 11u, 12u, 0x80000000u}) {
    simulated_ports fresh;
    sequence_record record(0x300, io::kNoTimeLimit, {{op_write8, 0, 0x42}, {bad, 1, 0x43}, {op_write8, 2, 0x44}});
    EXPECT_EQ(io::run_port_sequence(record.data(), record.size(), fresh, clock.function()), io::kSequenceBadItem)
        << bad;
    const std::vector<access> expected = {{true, 8, 0x300, 0x42}};
    EXPECT_EQ(fresh.log(), expected) << bad;
  }
}

TEST_F(interpreter, WaitEndsWhenMaskedValueMatchesAndKeepsIt) {
  struct row {
    const char* name;
    std::uint32_t operation;
    std::uint32_t busy, ready, mask, expected;
  };
  const row rows[] = {
      {"8-bit ready bit", op_wait8, 0x00, 0x81, 0x80, 0x80},
      {"16-bit field", op_wait16, 0x0F00, 0x0A55, 0x0F0F, 0x0A05},
      {"32-bit high bit cleared", op_wait32, 0x80000001, 0x00000001, 0x80000000, 0},
  };
  for (const row& r : rows) {
    simulated_ports fresh;
    fresh.set_ready_after_reads(0x310, r.busy, r.ready, 5);
    sequence_record record(0x300, io::kNoTimeLimit, {{r.operation, 0x10, 0, r.mask, r.expected}});
    EXPECT_EQ(io::run_port_sequence(record.data(), record.size(), fresh, clock.function()), io::kSequenceDone)
        << r.name;
    EXPECT_EQ(fresh.reads_of(0x310), 6) << r.name;
    EXPECT_EQ(record.value(0), r.expected) << r.name;
  }
}

TEST_F(interpreter, WaitWithoutLimitNeverConsultsTheClock) {
  // 100000 busy reads while the clock would pass any time-out: only the count matters.
  ports.set_ready_after_reads(0x300, 0, 1, 100000);
  sequence_record record(0x300, io::kNoTimeLimit, {{op_wait8, 0, 0, 1, 1}});
  const std::uint32_t before = clock.now;
  EXPECT_EQ(run(record), io::kSequenceDone);
  EXPECT_EQ(clock.now, before);
}

TEST_F(interpreter, TimeOutCountsFromTheStartOfTheSequence) {
  clock.step = 10;
  // The first wait takes about 60 ms, so the second has only about 40 ms of the 100 left.
  ports.set_ready_after_reads(0x300, 0, 1, 5);
  ports.set_value(0x301, 0);
  sequence_record record(0x300, 100, {{op_wait8, 0, 0, 1, 1}, {op_wait8, 1, 0, 1, 1}});
  const std::uint32_t start = clock.now;
  EXPECT_EQ(run(record), io::kSequenceTimeout);
  EXPECT_GT(clock.now - start, 100u);
  EXPECT_LE(clock.now - start, 100u + 2 * clock.step);
  EXPECT_EQ(ports.reads_of(0x301), 6);
}

TEST_F(interpreter, TimeOutAcrossTheWrapOfTheTickCount) {
  clock.now = 0xFFFFFFF0;
  ports.set_value(0x300, 0);
  sequence_record record(0x300, 50, {{op_wait8, 0, 0, 1, 1}});
  EXPECT_EQ(run(record), io::kSequenceTimeout);
  EXPECT_LT(clock.now, 0x100u);  // wrapped, and still stopped about 50 ms after the start
}

TEST_F(interpreter, ReadToClearRegisterIsSeenOnce) {
  ports.set_read_to_clear(0x302, 0x80);
  sequence_record record(0x300, io::kNoTimeLimit, {{op_read8, 2}, {op_read8, 2}});
  ASSERT_EQ(run(record), io::kSequenceDone);
  EXPECT_EQ(record.value(0) & 0xFF, 0x80u);
  EXPECT_EQ(record.value(1) & 0xFF, 0u);
}

TEST_F(interpreter, RecordShorterThanItsCountStopsWithoutReadingBeyond) {
  sequence_record record(0x300, io::kNoTimeLimit, {{op_write8, 0, 1}, {op_write8, 1, 2}});
  base::store_le32(record.data() + 8, 1000);
  EXPECT_EQ(io::run_port_sequence(record.data(), record.size(), ports, clock.function()), io::kSequenceBadItem);
  EXPECT_EQ(ports.log().size(), 2u);
}

TEST(sequence_length, FortyPlusTwentyFourPerItemOrZeroWhenTooLong) {
  EXPECT_EQ(io::sequence_request_length(0), 40u);
  EXPECT_EQ(io::sequence_request_length(-5), 40u);
  EXPECT_EQ(io::sequence_request_length(3), 112u);
  EXPECT_EQ(io::sequence_request_length(178956969), 40u + 24u * 178956969u);
  EXPECT_EQ(io::sequence_request_length(178956970), 0u);
  EXPECT_EQ(io::sequence_request_length(INT32_MAX), 0u);
}

}  // namespace
}  // namespace tambre::test
