// The loader's busy flag: a waiter gives up after a fixed number of looks, and takes the
// flag as soon as the holder lets go.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/busy_flag.h"

namespace {

TEST(BusyFlag, FreeFlagIsTakenWithoutPausing) {
  std::atomic<bool> flag{false};
  int pauses = 0;
  EXPECT_TRUE(tambre::net::take_busy_flag(flag, [&] { ++pauses; }));
  EXPECT_TRUE(flag.load());
  EXPECT_EQ(pauses, 0);
}

TEST(BusyFlag, HeldFlagFailsAfterTheLastLook) {
  std::atomic<bool> flag{true};
  int pauses = 0;
  EXPECT_FALSE(tambre::net::take_busy_flag(flag, [&] { ++pauses; }));
  // 76 looks, a pause between each two of them.
  EXPECT_EQ(pauses, tambre::net::busy_flag_looks - 1);
  EXPECT_TRUE(flag.load()) << "a waiter that gives up leaves the holder's flag alone";
}

TEST(BusyFlag, WaiterTakesTheFlagOnceReleased) {
  std::atomic<bool> flag{true};
  int pauses = 0;
  EXPECT_TRUE(tambre::net::take_busy_flag(flag, [&] {
    if (++pauses == 10) flag.store(false);
  }));
  EXPECT_EQ(pauses, 10);
  EXPECT_TRUE(flag.load());
}

TEST(BusyFlag, OnlyOneOfManyThreadsHoldsItAtATime) {
  std::atomic<bool> flag{false};
  std::atomic<int> inside{0};
  std::atomic<int> most{0};
  std::atomic<int> taken{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      for (int round = 0; round < 200; ++round) {
        if (!tambre::net::take_busy_flag(flag, [] { std::this_thread::yield(); })) continue;
        const int now = ++inside;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        ++taken;
        --inside;
        flag.store(false);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(most.load(), 1);
  EXPECT_GT(taken.load(), 0);
}

}  // namespace
