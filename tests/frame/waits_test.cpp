// Waits that keep the message loop alive, and the microsecond clock, under Wine.
#include <gtest/gtest.h>

#include <thread>

#include "support/win_test_window.h"
#include "tambre32/waits.h"

namespace {

TEST(HRTime, RunsInMicrosecondsAlongsideTheSystemClock) {
  const LONGLONG start64 = GetHRTime64();
  const DWORD start32 = GetHRTime();
  const ULONGLONG tick_start = GetTickCount64();
  Sleep(120);
  const LONGLONG elapsed64 = GetHRTime64() - start64;
  const DWORD elapsed32 = GetHRTime() - start32;
  const ULONGLONG ticks = GetTickCount64() - tick_start;
  EXPECT_GT(start64, 0);
  EXPECT_GE(elapsed64, 100000);
  // The tick count is an independent clock; allow its granularity.
  EXPECT_NEAR(static_cast<double>(elapsed64) / 1000.0, static_cast<double>(ticks), 40.0);
  EXPECT_NEAR(static_cast<double>(elapsed32), static_cast<double>(elapsed64), 5000.0);
}

TEST(WaitEvents, ZeroTimeoutTimesOutUnlessSignalled) {
  HANDLE events[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  EXPECT_EQ(WaitEvents(events, 2, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(events[1]);
  EXPECT_EQ(WaitEvents(events, 2, 0), 1u);
  EXPECT_EQ(WaitEvent(events[0], 0), 0);
  EXPECT_EQ(WaitEvent(events[1], 0), 1);
  CloseHandle(events[0]);
  CloseHandle(events[1]);
}

TEST(WaitEvents, InvalidHandleFails) {
  HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x7FF0));
  EXPECT_EQ(WaitEvents(&bogus, 1, 50), WAIT_FAILED);
  EXPECT_EQ(WaitEvent(bogus, 50), 0);
}

TEST(WaitEvents, AbandonedMutexIsReportedAndWaitEventSaysNo) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
  std::thread([mutex] { WaitForSingleObject(mutex, INFINITE); }).join();  // owner dies holding it
  EXPECT_EQ(WaitEvents(&mutex, 1, 100), static_cast<DWORD>(WAIT_ABANDONED_0));
  HANDLE mutex2 = CreateMutexA(nullptr, FALSE, nullptr);
  std::thread([mutex2] { WaitForSingleObject(mutex2, INFINITE); }).join();
  EXPECT_EQ(WaitEvent(mutex2, 100), 0);
  CloseHandle(mutex);
  CloseHandle(mutex2);
}

TEST(WaitEvents, DispatchesMessagesWhileWaitingAndKeepsTheTimeout) {
  tambre::test::counting_window window;
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread poster([&] {
    for (int i = 0; i < 5; ++i) {
      PostMessageA(window.handle(), WM_USER + 1, 0, 0);
      Sleep(20);
    }
  });
  const LONGLONG start = GetHRTime64();
  EXPECT_EQ(WaitEvents(&event, 1, 250), static_cast<DWORD>(WAIT_TIMEOUT));
  const LONGLONG elapsed = GetHRTime64() - start;
  poster.join();
  EXPECT_EQ(window.count(WM_USER + 1), 5);
  EXPECT_GE(elapsed, 245000);  // messages did not cut the wait short
  CloseHandle(event);
}

TEST(WaitEvents, ReturnsWhenAnotherThreadSignals) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread setter([event] {
    Sleep(30);
    SetEvent(event);
  });
  EXPECT_EQ(WaitEvent(event, 5000), 1);
  setter.join();
  CloseHandle(event);
}

TEST(Dispatch, DispatchesAndLeavesWmQuitInTheQueue) {
  tambre::test::counting_window window;
  PostMessageA(window.handle(), WM_USER + 2, 0, 0);
  PostQuitMessage(17);
  PostMessageA(window.handle(), WM_USER + 2, 0, 0);
  EXPECT_EQ(Dispatch(nullptr), 0);
  EXPECT_GE(window.count(WM_USER + 2), 1);
  MSG message;
  bool quit_seen = false;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_seen = true;
      EXPECT_EQ(message.wParam, 17u);
    }
  }
  EXPECT_TRUE(quit_seen);
}

TEST(WaitForNoneZeroVar, NullVariableWaitsTheWholeTimeout) {
  const LONGLONG start = GetHRTime64();
  EXPECT_EQ(WaitForNoneZeroVar(nullptr, 60, TRUE), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(GetHRTime64() - start, 50000);
}

TEST(WaitForNoneZeroVar, ZeroOnEntryAndClearedByAnotherThread) {
  volatile LONG flag = 0;
  EXPECT_EQ(WaitForNoneZeroVar(&flag, 1000, FALSE), 0u);
  flag = 1;
  std::thread clearer([&flag] {
    Sleep(30);
    InterlockedExchange(const_cast<LONG*>(&flag), 0);
  });
  EXPECT_EQ(WaitForNoneZeroVar(&flag, 5000, TRUE), 0u);
  clearer.join();
  flag = 1;
  EXPECT_EQ(WaitForNoneZeroVar(&flag, 20, FALSE), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
