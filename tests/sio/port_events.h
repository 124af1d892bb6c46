#pragma once
// What a port's notifications and message output delivered, recorded on the worker thread.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "support/eventually.h"
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

// One recorder for the program: notifications are plain functions, as drivers pass them.
port_events& events();

void on_receive(CSio& port);
void on_transmit_empty(CSio& port);
void on_message(const char* text);

using tambre::test::eventually;

}  // namespace sio_test
