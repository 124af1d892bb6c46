// The decision logic of a link, driven step by step on a simulated clock and wire.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "redundancy/datagram.h"
#include "redundancy/link_logic.h"
#include "redundancy/sim_network.h"

namespace {

using namespace tambre::redundancy;
using tambre::test::announcement;
using tambre::test::bytes;
using tambre::test::sim_pair;

constexpr std::uint32_t T = 300;
constexpr std::uint32_t period = 10;

datagram decoded(const bytes& raw) {
  EXPECT_EQ(raw.size(), datagram_size);
  unsigned char exact[datagram_size] = {};
  std::memcpy(exact, raw.data(), std::min(raw.size(), datagram_size));
  return decode(exact);
}

// Tick of each announcement a side sent.
std::vector<std::uint32_t> send_ticks(const tambre::test::sim_end& end) {
  std::vector<std::uint32_t> ticks;
  for (const bytes& raw : end.sent) ticks.push_back(decoded(raw).tick);
  return ticks;
}

TEST(LinkLogic, AliveTimeoutIsTheLow24BitsOr8000) {
  const std::uint32_t rows[][2] = {{0, 8000}, {0xFF00012Cu, 300}, {0x01000000u, 8000}, {0xFFFFFFu, 0xFFFFFFu}};
  for (const auto& r : rows) EXPECT_EQ(alive_timeout_of(r[0]), r[1]) << r[0];
}

TEST(LinkLogic, StandbyWhoseMasterNeverSendsTakesOverAfterT) {
  sim_pair net;
  net.open_b(mode_standby, T);
  for (int step = 0; step <= 80; ++step, net.clock.advance(period)) {
    const std::uint32_t since_open = net.clock.now() - 1000;
    ASSERT_EQ(net.query_b(), since_open <= T ? 1 : -1) << "at " << since_open << " ms";
  }
  // It announces at once when it finds the master lost, then every T/2 of queries.
  EXPECT_EQ(send_ticks(net.b), (std::vector<std::uint32_t>{1310, 1460, 1610, 1760}));
  for (std::size_t i = 0; i < net.b.sent.size(); ++i) {
    const datagram sent = decoded(net.b.sent[i]);
    EXPECT_EQ(sent.mode, mode_standby);
    EXPECT_EQ(sent.alive_timeout, T);
    EXPECT_EQ(sent.sequence, i + 1);
  }
  EXPECT_EQ(net.link_b.Status & status_online, 0u);
}

TEST(LinkLogic, StandbyAnswersOneOnItsFirstQueryHoweverLate) {
  sim_pair net;
  net.open_b(mode_standby, T);
  net.clock.advance(5 * T);
  EXPECT_EQ(net.query_b(), 1);
  EXPECT_TRUE(net.b.sent.empty());
  net.clock.advance(period);
  EXPECT_EQ(net.query_b(), -1);
}

TEST(LinkLogic, StandbyWaitsForTheLargerOfBothTimeouts) {
  // Peer's and own timeout, and the first query interval past the larger one.
  const struct {
    const char* name;
    std::uint32_t peer_timeout, own_timeout, takeover_after;
  } cases[] = {{"peer's is larger", 1000, 300, 1010},
               {"own is larger", 100, 300, 310},
               {"peer's is negative as a signed value", 0x80000000u, 300, 310}};
  for (const auto& c : cases) {
    sim_pair net;
    net.open_b(mode_standby, c.own_timeout);
    net.b_inbox.push_back(announcement(mode_master, c.peer_timeout, 77, 5));
    ASSERT_EQ(net.query_b(), 1) << c.name;
    EXPECT_EQ(net.link_b.PeerTimeout, c.peer_timeout) << c.name;
    EXPECT_EQ(net.link_b.SequenceA, 77u) << c.name;
    std::uint32_t waited = 0;
    while (net.query_b() == 1 && waited < 5000) {
      net.clock.advance(period);
      waited += period;
    }
    EXPECT_EQ(waited, c.takeover_after) << c.name;
  }
}

// The rules are the datagram's own; these rows catch a link that hands over length or mode
// wrongly. Reading stops at the rejected datagram; the good one behind it waits for the next query.
TEST(LinkLogic, StandbyIgnoresDatagramsItMustNotAccept) {
  bytes short_one = announcement(mode_master, T, 1, 0);
  short_one.pop_back();
  bytes long_one = announcement(mode_master, T, 1, 0);
  long_one.push_back(0);
  const std::pair<const char*, bytes> cases[] = {
      {"31 bytes", short_one}, {"33 bytes", long_one}, {"standby's own mode", announcement(mode_standby, T, 1, 0)}};
  for (const auto& [name, datagram] : cases) {
    sim_pair net;
    net.open_b(mode_standby, T);
    net.b_inbox = {datagram, announcement(mode_master, 2 * T, 9, 0)};
    net.query_b();
    EXPECT_EQ(net.link_b.SequenceA, 0u) << name;
    EXPECT_EQ(net.link_b.PeerTimeout, 0u) << name;
    net.query_b();
    EXPECT_EQ(net.link_b.SequenceA, 9u) << name;
  }
}

TEST(LinkLogic, LoneMasterWaitsHalfTimeoutForAStandbyThenAnnounces) {
  sim_pair net;
  net.open_a(mode_master, T);
  EXPECT_EQ(net.query_a(), 1);
  EXPECT_GE(net.clock.slept, T / 2) << "the first query listens for a standby in charge";
  EXPECT_LE(net.clock.slept, T / 2 + 10);
  ASSERT_EQ(net.a.sent.size(), 1u);
  const datagram first = decoded(net.a.sent[0]);
  EXPECT_EQ(first.mode, mode_master);
  EXPECT_EQ(first.sequence, 1u);
  EXPECT_EQ(first.tick, net.clock.now());
  EXPECT_EQ(net.link_a.Status & status_online, status_online);
  EXPECT_EQ(net.link_a.Flags & flag_startup, 0u);

  // Normal operation: silent for T/2 after each announcement.
  const std::uint32_t sent_at = net.clock.now();
  for (std::uint32_t t = 0; t < 2 * T; t += period, net.clock.advance(period)) EXPECT_EQ(net.query_a(), 1);
  std::vector<std::uint32_t> expected{sent_at};
  for (std::uint32_t next = sent_at + T / 2; next < sent_at + 2 * T; next += T / 2) expected.push_back(next);
  EXPECT_EQ(send_ticks(net.a), expected);
}

TEST(LinkLogic, MasterLateFailingOrHearingAStandby) {
  sim_pair net;
  net.open_a(mode_master, T);
  net.query_a();
  net.clock.advance(T + 1);  // queried too seldom: still 1, but no longer online
  EXPECT_EQ(net.query_a(), 1);
  EXPECT_EQ(net.link_a.Status, 0u);
  net.clock.advance(T / 2);
  EXPECT_EQ(net.query_a(), 1);
  EXPECT_EQ(net.link_a.Status & status_online, status_online);

  sim_pair failing;  // an announcement that fails answers 0
  failing.open_a(mode_master, T);
  failing.a.fail_sends = true;
  EXPECT_EQ(failing.query_a(), 0);
  EXPECT_EQ(failing.link_a.Status & status_online, 0u);
  failing.clock.advance(T / 2);
  EXPECT_EQ(failing.query_a(), 0);
  failing.a.fail_sends = false;
  EXPECT_EQ(failing.query_a(), 1);

  sim_pair hearing;  // hearing a standby holds back even when it cannot send, without listening
  hearing.open_a(mode_master, T);
  hearing.a.fail_sends = true;
  hearing.a_inbox.push_back(announcement(mode_standby, T, 1, 0));
  EXPECT_EQ(hearing.query_a(), -1);
  EXPECT_EQ(hearing.clock.slept, 0u);
}

// A standby that lost its master and announces until the master comes back at 2000 ms.
void put_standby_in_charge(sim_pair& net) {
  net.open_b(mode_standby, T);
  for (; net.clock.now() < 2000; net.clock.advance(period)) net.query_b();
  ASSERT_EQ(net.link_b.Status & status_online, 0u);
}

TEST(LinkLogic, ReturningMasterListensHoldsBackThenTakesOver) {
  sim_pair net;
  put_standby_in_charge(net);
  net.a_inbox.clear();  // sent before the master's socket existed
  net.open_a(mode_master, T);
  std::vector<int> master, standby;  // the standby's answers once the master announced
  const auto query_standby = [&] {
    const int result = net.query_b();
    if (!net.a.sent.empty()) standby.push_back(result);
  };
  // While the master's first query listens, the standby goes on with its own queries.
  net.clock.during_sleep = [&] {
    if (net.clock.now() % period == 0) query_standby();
  };
  for (std::uint32_t t = 0; t < 3 * T; t += period, net.clock.advance(period)) {
    master.push_back(net.query_a());
    query_standby();
  }
  EXPECT_EQ(master[0], -1) << "a standby in charge announced within T/2";
  EXPECT_LE(net.clock.slept, T / 2 + period);
  for (std::size_t i = 1; i < master.size(); ++i) EXPECT_EQ(master[i], 1) << "query " << i;
  ASSERT_FALSE(standby.empty());
  for (int result : standby) EXPECT_EQ(result, 1);
  EXPECT_NE(net.link_a.SequenceB, 0u);
}

TEST(LinkLogic, ReturningMasterHoldsBackWhileStandbyDatagramsKeepArriving) {
  sim_pair net;
  put_standby_in_charge(net);
  net.open_a(mode_master, T);
  // Standby datagrams in every query of the start-up window: the master keeps holding back.
  for (std::uint32_t t = 0; t < T; t += period, net.clock.advance(period)) {
    net.a_inbox.push_back(announcement(mode_standby, T, 100 + t, net.clock.now()));
    ASSERT_EQ(net.query_a(), -1) << t;
    EXPECT_EQ(net.link_a.Flags & flag_startup, flag_startup);
  }
  // Past T from opening it answers 1 whatever arrives.
  net.a_inbox.push_back(announcement(mode_standby, T, 999, net.clock.now()));
  EXPECT_EQ(net.query_a(), 1);
  EXPECT_EQ(net.link_a.Flags & flag_startup, 0u);
  EXPECT_GE(net.a.sent.size(), T / period) << "it announces on every query of the window";
}

}  // namespace
