#pragma once
// What a port's notifications and message output delivered, recorded from the worker
// thread for the test's thread. Plain functions, as drivers pass them.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "sys/handles.h"
#include "tambre32/sio.h"

namespace sio_test {

struct port_events {
  std::mutex lock;
  std::string received;  // bytes the receive notification read, in order
  std::vector<std::string> messages;
  std::atomic<int> receive_calls{0};
  std::atomic<int> transmit_empty_calls{0};
  std::atomic<DWORD> notify_thread{0};
  std::atomic<bool> read_in_notification{true};
  std::atomic<DWORD> hold_ms{0};             // a slow receive notification: it takes this long
  std::atomic<bool> hold_after_read{false};  // it waits for `release` after it read everything
  tambre::sys::unique_handle release{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> notification_finished{false};
  std::atomic<int> read_loops_done{0};  // receive notifications that have read everything

  void reset();
  std::string received_text();
  std::vector<std::string> message_texts();
  // Waits until `count` bytes have come through the receive notification.
  bool wait_received(std::size_t count, DWORD timeout_ms = 5000);
};

// One recorder for the whole test program: notifications are plain functions.
port_events& events();

void on_receive(CSio& port);
void on_transmit_empty(CSio& port);
void on_message(const char* text);

// Polls `condition` every millisecond for at most `timeout_ms`.
template <typename Condition>
bool eventually(Condition condition, DWORD timeout_ms = 5000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(1);
  }
  return true;
}

}  // namespace sio_test
