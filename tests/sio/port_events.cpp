#include "port_events.h"

namespace sio_test {

void port_events::reset() {
  std::lock_guard<std::mutex> guard(lock);
  received.clear();
  messages.clear();
  receive_calls = 0;
  transmit_empty_calls = 0;
  notify_thread = 0;
  read_in_notification = true;
  hold_ms = 0;
  hold_after_read = false;
  ResetEvent(release.get());
  read_loops_done = 0;
  notification_finished = false;
}

std::string port_events::received_text() {
  std::lock_guard<std::mutex> guard(lock);
  return received;
}

std::vector<std::string> port_events::message_texts() {
  std::lock_guard<std::mutex> guard(lock);
  return messages;
}

bool port_events::wait_received(std::size_t count, DWORD timeout_ms) {
  return eventually(
      [&] {
        std::lock_guard<std::mutex> guard(lock);
        return received.size() >= count;
      },
      timeout_ms);
}

port_events& events() {
  static port_events recorder;
  return recorder;
}

void on_receive(CSio& port) {
  port_events& e = events();
  e.notify_thread = GetCurrentThreadId();
  ++e.receive_calls;
  e.notification_finished = false;
  if (DWORD hold = e.hold_ms.load()) Sleep(hold);
  if (e.read_in_notification) {
    char chunk[4096];
    int n;
    while ((n = port.Read(chunk, sizeof chunk)) > 0) {
      std::lock_guard<std::mutex> guard(e.lock);
      e.received.append(chunk, static_cast<std::size_t>(n));
    }
  }
  ++e.read_loops_done;
  if (e.hold_after_read) WaitForSingleObject(e.release.get(), 20000);
  e.notification_finished = true;
}

void on_transmit_empty(CSio&) { ++events().transmit_empty_calls; }

void on_message(const char* text) {
  std::lock_guard<std::mutex> guard(events().lock);
  events().messages.emplace_back(text);
}

}  // namespace sio_test
