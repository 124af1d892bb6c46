// The loader's busy flag: a waiter gives up after a number of looks, or takes it when freed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/busy_flag.h"

namespace {

TEST(BusyFlag, LooksUntilReleasedOrGivesUp) {
  const struct {
    const char* name;
    bool held;
    int released_after;  // pauses until the holder lets go; 0: never
    bool taken;
    int pauses;  // -1: some, however many the waiter allows itself
  } cases[] = {
      {"free flag is taken without pausing", false, 0, true, 0},
      {"held flag: the waiter gives up after pausing", true, 0, false, -1},
      {"waiter takes the flag at the first look after the release", true, 10, true, 10},
  };
  for (const auto& c : cases) {
    std::atomic<bool> flag{c.held};
    int pauses = 0;
    EXPECT_EQ(tambre::net::take_busy_flag(flag,
                                          [&] {
                                            if (++pauses == c.released_after) flag.store(false);
                                          }),
              c.taken)
        << c.name;
    if (c.pauses >= 0) {
      EXPECT_EQ(pauses, c.pauses) << c.name;
    } else {
      EXPECT_GT(pauses, 0) << c.name;
    }
    EXPECT_TRUE(flag.load()) << c.name << ": held by the taker, or left to the holder by a waiter that gave up";
  }
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
