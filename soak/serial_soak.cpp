// The serial port class under load and faults, on real pseudo-terminal pairs under Wine:
// many open/close cycles; a second object opening a port that is already open; Close while
// the far end floods the line; the far end vanishing in the middle of a transfer. While the
// port is open every byte arrives once and in order, and no Open or Close outlasts the
// worker's stop bound (4 s) by more than a flush.
//
//   serial_soak [--cycles 1000] [--flood-ms 3000]
// Prints one line of figures; exits 0 when everything held, 1 otherwise.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/pty_pair.h"
#include "support/serial_far_end.h"
#include "tambre32/sio.h"

namespace {

constexpr DWORD call_bound_ms = 4500;

// The receive side: reads in the notification on the worker thread and checks that the
// bytes continue the far end's counting pattern.
struct receiver {
  std::atomic<unsigned long> bytes{0};
  std::atomic<unsigned long> out_of_order{0};
  unsigned char expected = 0;
};
receiver received;

void on_receive(CSio& port) {
  char buffer[4096];
  for (int n; (n = port.Read(buffer, sizeof buffer)) > 0;) {
    for (int i = 0; i < n; ++i) {
      if (static_cast<unsigned char>(buffer[i]) != received.expected) ++received.out_of_order;
      received.expected = static_cast<unsigned char>(buffer[i] + 1);
    }
    received.bytes += static_cast<unsigned long>(n);
  }
}

std::string counting(std::size_t size, unsigned char& next) {
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(next++);
  return bytes;
}

struct timed {
  DWORD worst_ms = 0;
  int over_bound = 0;
  template <typename Call>
  auto operator()(Call call) {
    const DWORD start = GetTickCount();
    auto result = call();
    const DWORD took = GetTickCount() - start;
    if (took > worst_ms) worst_ms = took;
    if (took > call_bound_ms) ++over_bound;
    return result;
  }
};

// The far_end end writes the counting pattern until told to stop or its line goes away.
struct flood {
  explicit flood(tambre::test::serial_far_end& line_end)
      : thread([this, &line_end] {
          unsigned char next = 0;
          while (!stop && line_end.write(counting(1024, next))) sent += 1024;
        }) {}
  ~flood() {
    stop = true;
    thread.join();
  }
  std::atomic<bool> stop{false};
  std::atomic<unsigned long> sent{0};
  std::thread thread;
};

}  // namespace

int main(int argc, char** argv) {
  int cycles = 1000;
  DWORD flood_ms = 3000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--cycles") cycles = std::atoi(argv[i + 1]);
    if (name == "--flood-ms") flood_ms = static_cast<DWORD>(std::atoi(argv[i + 1]));
  }
  int faults = 0;
  timed calls;

  tambre::test::pty_pair pair;
  if (!pair.ready()) {
    std::printf("serial_soak: no pseudo-terminal pair: %s\n", pair.error().c_str());
    return 1;
  }
  const std::string config = pair.near_config("115200,N,8,1");

  // Open/close cycles; in every tenth a second object tries the open port. Windows refuses it
  // (the port is opened without sharing); Wine does not keep serial devices exclusive, so
  // there the figure is reported and what counts is that the first object's port stays open.
  int second_opened = 0;
  for (int i = 0; i < cycles; ++i) {
    CSio port;
    if (calls([&] { return port.Open(config.c_str(), 0); }) != 1) ++faults;
    if (i % 10 == 0) {
      CSio intruder;
      if (calls([&] { return intruder.Open(config.c_str(), 0); }) == 1) ++second_opened;
      intruder.Close();
      if (port.IsOpen() != 1) ++faults;
    }
    calls([&] { return port.Close(); });
  }

  // Close while the far end floods: what arrived before is whole and in order. Each of the
  // two runs has a line of its own; cutting it ends the far end's blocked writes.
  unsigned long flooded = 0, flood_received = 0;
  for (const bool vanish : {false, true}) {
    tambre::test::pty_pair line;
    if (!line.ready()) {
      ++faults;
      continue;
    }
    const std::string line_config = line.near_config("115200,N,8,1");
    tambre::test::serial_far_end far_end(line.far_path());
    received.expected = 0;
    received.bytes = 0;
    CSio port;
    port.SetNotify(on_receive, nullptr, nullptr);
    if (!far_end.is_open() || calls([&] { return port.Open(line_config.c_str(), 0); }) != 1) ++faults;
    flood writer(far_end);
    // The load runs this long; the far end vanishes in the middle of it in the second run.
    Sleep(vanish ? 200 : flood_ms);
    if (vanish) line.stop();
    calls([&] { return port.Close(); });
    line.stop();
    if (!vanish) {
      flooded = writer.sent;
      flood_received = received.bytes;
    }
  }
  const unsigned long flood_disorder = received.out_of_order;

  std::printf(
      "serial_soak: %d open/close cycles, a second object's open of the open port allowed %d of %d times; flood %lu "
      "bytes sent, "
      "%lu received before Close, %lu out of order; far end cut mid-transfer; slowest Open/Close %lu ms, %d over "
      "%lu ms; faults %d\n",
      cycles, second_opened, (cycles + 9) / 10, flooded, flood_received, flood_disorder, calls.worst_ms,
      calls.over_bound, call_bound_ms, faults);
  return faults == 0 && flood_disorder == 0 && calls.over_bound == 0 && flood_received > 0 ? 0 : 1;
}
