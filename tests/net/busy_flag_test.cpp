// The loader's busy flag: a waiter gives up after a number of looks, or takes it when freed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "net/busy_flag.h"

namespace {

TEST(BusyFlag, LooksUntilReleasedOrGivesUp) {
  std::atomic<bool> flag{false};
  int pauses = 0;
  EXPECT_TRUE(tambre::net::take_busy_flag(flag, [&] { ++pauses; }));
  EXPECT_EQ(pauses, 0) << "a free flag is taken without pausing";
  EXPECT_FALSE(tambre::net::take_busy_flag(flag, [&] { ++pauses; }));
  EXPECT_GT(pauses, 0) << "a held flag: the waiter gives up after pausing";
  EXPECT_TRUE(flag.load()) << "left to its holder by a waiter that gave up";
  pauses = 0;
  EXPECT_TRUE(tambre::net::take_busy_flag(flag, [&] {
    if (++pauses == 10) flag.store(false);
  }));
  EXPECT_EQ(pauses, 10) << "taken at the first look after the release";
  EXPECT_TRUE(flag.load());
}

TEST(BusyFlag, OnlyOneOfManyThreadsHoldsItAtATime) {
  std::atomic<bool> flag{false};
  std::atomic<int> inside{0}, overlaps{0}, taken{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      for (int round = 0; round < 200; ++round) {
        if (!tambre::net::take_busy_flag(flag, [] { std::this_thread::yield(); })) continue;
        if (++inside > 1) ++overlaps;
        ++taken;
        --inside;
        flag.store(false);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_GT(taken.load(), 0);
}

}  // namespace
