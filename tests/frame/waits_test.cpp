// Waits that keep the message loop alive, and the microsecond clock, under Wine.
#include <gtest/gtest.h>

#include <thread>

#include "sys/handles.h"
#include "tambre32/waits.h"

namespace {

using tambre::sys::unique_handle;

unique_handle new_event() { return unique_handle(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

// A message-only window whose WM_USER messages count down `left`; at zero it signals
// `reached` and clears `flag`.
struct countdown_window {
  static inline HANDLE reached = nullptr;
  static inline volatile LONG flag = 0;
  static inline int left = 0;
  unique_handle event = new_event();
  HWND handle = nullptr;

  explicit countdown_window(int messages) {
    left = messages;
    flag = 1;
    reached = event.get();
    WNDCLASSA cls{};
    cls.lpfnWndProc = procedure;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TambreCountdown";
    RegisterClassA(&cls);  // fails harmlessly when already registered
    handle = CreateWindowA("TambreCountdown", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
  }
  ~countdown_window() { DestroyWindow(handle); }
  void post(int messages) const {
    for (int i = 0; i < messages; ++i) PostMessageA(handle, WM_USER, 0, 0);
  }
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_USER) return DefWindowProcA(window, message, wparam, lparam);
    if (--left == 0) {
      flag = 0;
      SetEvent(reached);
    }
    return 0;
  }
};

TEST(WaitEvents, ObjectsThatNeedNoWaitAndFailures) {
  const unique_handle first = new_event(), second = new_event();
  HANDLE events[2] = {first.get(), second.get()};
  EXPECT_EQ(WaitEvents(events, 2, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(events[1]);
  EXPECT_EQ(WaitEvents(events, 2, 0), 1u);
  EXPECT_EQ(WaitEvent(events[0], 0), 0);
  EXPECT_EQ(WaitEvent(events[1], 0), 1);
  HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x7FF0));
  EXPECT_EQ(WaitEvents(&bogus, 1, 50), WAIT_FAILED);
  EXPECT_EQ(WaitEvent(bogus, 50), 0);
  for (int call = 0; call < 2; ++call) {
    unique_handle mutex(CreateMutexA(nullptr, FALSE, nullptr));
    HANDLE m = mutex.get();
    std::thread([m] { WaitForSingleObject(m, INFINITE); }).join();  // owner dies holding it
    EXPECT_EQ(call == 0 ? WaitEvents(&m, 1, 100) : static_cast<DWORD>(WaitEvent(m, 100)),
              call == 0 ? static_cast<DWORD>(WAIT_ABANDONED_0) : 0u)
        << "an abandoned mutex is no signal for WaitEvent";
  }
}

// The wait dispatches what comes while it waits, runs its full time all the same, and the
// library's microsecond clocks agree with the system's tick count over it.
TEST(WaitEvents, DispatchesMessagesWhileWaitingWithoutCuttingTheTimeoutShort) {
  {
    countdown_window window(5);
    std::thread poster([&] { window.post(5); });
    // Only the fifth message, dispatched by the wait itself, signals the event.
    EXPECT_EQ(WaitEvents(&countdown_window::reached, 1, 30000), 0u);
    poster.join();
  }
  countdown_window longer(100);
  HANDLE never = longer.event.get();
  longer.post(5);
  const LONGLONG start64 = GetHRTime64();
  const DWORD start32 = GetHRTime();
  const ULONGLONG tick_start = GetTickCount64();
  EXPECT_EQ(WaitEvents(&never, 1, 150), static_cast<DWORD>(WAIT_TIMEOUT));
  const LONGLONG elapsed64 = GetHRTime64() - start64;
  const DWORD elapsed32 = GetHRTime() - start32;
  const ULONGLONG ticks = GetTickCount64() - tick_start;
  EXPECT_EQ(countdown_window::left, 95) << "the messages were dispatched";
  EXPECT_GE(elapsed64, 145000);
  EXPECT_NEAR(static_cast<double>(elapsed64) / 1000.0, static_cast<double>(ticks), 40.0);  // the tick's granularity
  EXPECT_NEAR(static_cast<double>(elapsed32), static_cast<double>(elapsed64), 5000.0);

  // Dispatch handles what waits and leaves WM_QUIT in the queue.
  PostQuitMessage(17);
  longer.post(1);
  EXPECT_EQ(Dispatch(nullptr), 0);
  EXPECT_EQ(countdown_window::left, 94);
  MSG message;
  WPARAM quit = 0;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) quit = message.wParam;
  }
  EXPECT_EQ(quit, 17u);
}

TEST(WaitForNoneZeroVar, EndsWhenTheVariableIsZero) {
  EXPECT_EQ(WaitForNoneZeroVar(nullptr, 60, TRUE), static_cast<DWORD>(WAIT_TIMEOUT));
  volatile LONG zero = 0;
  EXPECT_EQ(WaitForNoneZeroVar(&zero, 1000, FALSE), 0u);
  countdown_window window(1);
  window.post(1);
  // Without dispatching, the message that clears the flag is never handled.
  EXPECT_EQ(WaitForNoneZeroVar(&countdown_window::flag, 20, FALSE), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForNoneZeroVar(&countdown_window::flag, 5000, TRUE), 0u);
}

}  // namespace
