// The sink list of the driver's connection point while subscriptions change during a
// notification and on several threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "codriver/codriver_test_support.h"

namespace {

using tambre::test::recording_sink;

// Unsubscribes from inside its TransactionCompleted handler, as a client that waits for
// one transaction does.
class leaving_sink : public recording_sink {
 public:
  explicit leaving_sink(CoDriver::IPoint& point) : point_(point) {}
  DWORD cookie = 0;
  HRESULT STDMETHODCALLTYPE TransactionCompleted(IDispatch* server, long tid, VARIANT_BOOL success,
                                                 long extra) override {
    recording_sink::TransactionCompleted(server, tid, success, extra);
    point_.Unadvise(cookie);
    return S_OK;
  }

 private:
  CoDriver::IPoint& point_;
};

TEST(ConnectionPoint, ASinkLeavingInItsHandlerHidesNoOtherSink) {
  auto* driver = new CoDriver;
  CoDriver::IPoint& point = driver->m_point;
  leaving_sink first(point);
  recording_sink second, third;
  DWORD cookie = 0;
  ASSERT_EQ(point.Advise(static_cast<IProcessDriverEvent*>(&first), &first.cookie), S_OK);
  ASSERT_EQ(point.Advise(static_cast<IProcessDriverEvent*>(&second), &cookie), S_OK);
  ASSERT_EQ(point.Advise(static_cast<IProcessDriverEvent*>(&third), &cookie), S_OK);

  // The second sink moves into the first slot while the walk is past it.
  driver->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, 42, 0x00070001);
  EXPECT_EQ(first.transactions.size(), 1u);
  EXPECT_EQ(second.transactions.size(), 1u);
  EXPECT_EQ(third.transactions.size(), 1u);
  EXPECT_EQ(point.m_sinkCount, 2);

  driver->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, 43, 0x00070001);
  EXPECT_EQ(first.transactions.size(), 1u);
  ASSERT_EQ(second.transactions.size(), 2u);
  EXPECT_EQ(second.transactions[1].tid, 43);
  EXPECT_EQ(third.transactions.size(), 2u);
  EXPECT_EQ(first.references, 1);  // the slot's and the notification's references are back
  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);
}

TEST(ConnectionPoint, SubscriptionsOnManyThreadsKeepTheListWhole) {
  auto* driver = new CoDriver;
  CoDriver::IPoint& point = driver->m_point;
  constexpr int kThreads = 8, kRounds = 3000;
  recording_sink sinks[kThreads];
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (auto& sink : sinks) {
    threads.emplace_back([&point, &sink, &failures] {
      for (int round = 0; round < kRounds; ++round) {
        DWORD cookie = 0;
        if (point.Advise(static_cast<IProcessDriverEvent*>(&sink), &cookie) != S_OK || point.Unadvise(cookie) != S_OK) {
          ++failures;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(point.m_sinkCount, 0);
  for (const auto& sink : sinks) EXPECT_EQ(sink.references, 1);
  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);
}

}  // namespace
