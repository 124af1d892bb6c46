// Benchmark under Wine, over a pair of pseudo-terminals: how long from a byte written by the
// far end to the port's receive notification (event worker and polling worker), beside a
// plain blocking ReadFile loop on the same kind of port (the peer a driver would otherwise
// write), and the throughput of 1 MiB through the receive notification.
//
//   xvfb-run -a bash tools/wine_prefix_run.sh "$PWD/build/win64/wineprefix"
//            wine build/win64/bin/sio_latency_bench.exe   (one command line)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "support/pty_pair.h"
#include "support/serial_far_end.h"
#include "tambre32/sio.h"

namespace {

constexpr int kSamples = 200;

double now_us() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart * 1e6 / frequency;
}

std::atomic<double> notified_at{0};
std::atomic<long long> bytes_read{0};

void on_receive(CSio& port) {
  char chunk[4096];
  int n;
  long long total = 0;
  const double called = now_us();
  while ((n = port.Read(chunk, sizeof chunk)) > 0) total += n;
  notified_at = called;  // before the count, which the measuring thread waits for
  bytes_read += total;
}

struct figures {
  double median_us;
  double p99_us;
};

figures summarise(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples[samples.size() * 99 / 100]};
}

// Latency of one byte at a time through CSio's worker.
figures csio_latency(bool polling) {
  tambre::test::pty_pair pair;
  if (!pair.ready()) return {-1, -1};
  CSio port;
  port.SetNoEventMode(polling ? 1 : 0);
  port.SetNotify(on_receive, nullptr, nullptr);
  if (!port.Open(pair.near_config("115200,N,8,1").c_str(), 0)) return {-1, -1};
  tambre::test::serial_far_end peer(pair.far_path());
  std::vector<double> samples;
  for (int i = 0; i < kSamples; ++i) {
    notified_at = 0;
    const long long before = bytes_read.load();
    const double sent = now_us();
    peer.write("x");
    while (bytes_read.load() == before) Sleep(0);
    samples.push_back(notified_at.load() - sent);
    Sleep(3);
  }
  port.Close();
  return summarise(samples);
}

// The same with a thread blocked in ReadFile on the port.
figures blocking_read_latency() {
  tambre::test::pty_pair pair;
  if (!pair.ready()) return {-1, -1};
  tambre::test::serial_far_end reader(pair.near_path());
  tambre::test::serial_far_end peer(pair.far_path());
  COMMTIMEOUTS blocking{};  // wait for the first byte, no time-outs
  blocking.ReadIntervalTimeout = 0;
  SetCommTimeouts(reader.handle(), &blocking);
  std::atomic<bool> stop{false};
  std::thread thread([&] {
    char c;
    DWORD n;
    while (!stop && ReadFile(reader.handle(), &c, 1, &n, nullptr)) {
      if (n > 0) {
        notified_at = now_us();
        ++bytes_read;
      }
    }
  });
  std::vector<double> samples;
  for (int i = 0; i < kSamples; ++i) {
    const long long before = bytes_read.load();
    const double sent = now_us();
    peer.write("x");
    while (bytes_read.load() == before) Sleep(0);
    samples.push_back(notified_at.load() - sent);
    Sleep(3);
  }
  stop = true;
  peer.write("x");  // wakes the reader for its end
  thread.join();
  return summarise(samples);
}

double csio_throughput_mib_per_s() {
  tambre::test::pty_pair pair;
  if (!pair.ready()) return -1;
  CSio port;
  port.SetNotify(on_receive, nullptr, nullptr);
  if (!port.Open(pair.near_config("115200,N,8,1").c_str(), 0)) return -1;
  tambre::test::serial_far_end peer(pair.far_path());
  const std::string bytes(1 << 20, 'T');
  const long long before = bytes_read.load();
  const double start = now_us();
  peer.write(bytes);
  while (bytes_read.load() - before < static_cast<long long>(bytes.size())) Sleep(0);
  const double seconds = (now_us() - start) / 1e6;
  port.Close();
  return 1.0 / seconds;
}

}  // namespace

int main() {
  const figures event = csio_latency(false);
  const figures polling = csio_latency(true);
  const figures peer = blocking_read_latency();
  std::printf("receive latency, event worker (queue watch under Wine): median %.0f us, p99 %.0f us\n", event.median_us,
              event.p99_us);
  std::printf("receive latency, polling worker:                         median %.0f us, p99 %.0f us\n",
              polling.median_us, polling.p99_us);
  std::printf("receive latency, blocking ReadFile loop (peer):          median %.0f us, p99 %.0f us\n", peer.median_us,
              peer.p99_us);
  std::printf("ratio event / peer = %.2f, polling / peer = %.2f (medians)\n", event.median_us / peer.median_us,
              polling.median_us / peer.median_us);
  std::printf("goal: notification within 5000 us of arrival: event %s, polling %s (p99)\n",
              event.p99_us <= 5000 ? "met" : "missed", polling.p99_us <= 5000 ? "met" : "missed");
  std::printf("throughput through the receive notification: %.1f MiB/s\n", csio_throughput_mib_per_s());
  return 0;
}
