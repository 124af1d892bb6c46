// How soon the serial port class tells the driver that a byte has come, beside a plain
// blocking ReadFile on the same port, under Wine on a real pseudo-terminal pair. The far end
// writes one byte per round from this process; the time runs from its write to the receive
// notification (ours) or to ReadFile's return (the peer), both on QueryPerformanceCounter.
// Then the processor time of an open port with nothing arriving, as a share of one core.
//
//   serial_latency_bench [--rounds 1000] [--idle-ms 2000]
// Exits 0 when every round saw its byte, 1 otherwise. Built for win64 and run under Wine
// (tools/bench.sh); no part of the test run.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/pty_pair.h"
#include "support/serial_far_end.h"
#include "sys/handles.h"
#include "tambre32/sio.h"

extern "C" NTSTATUS NTAPI NtDelayExecution(BOOLEAN alertable, PLARGE_INTEGER interval);

namespace {

constexpr DWORD kRoundBoundMs = 2000;
constexpr int kWarmUpRounds = 10;
constexpr char kProbe = 0x55;

LONGLONG now_ticks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double ticks_per_us() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(frequency.QuadPart) / 1e6;
}

// Where a reader records when its byte came; one signal per byte (auto-reset).
struct arrival {
  std::atomic<LONGLONG> at{0};
  tambre::sys::unique_event seen{false};
  void record(LONGLONG ticks) {
    at = ticks;
    seen.set();
  }
};

arrival notified;

void on_receive(CSio& port) {
  const LONGLONG ticks = now_ticks();
  char buffer[64];
  while (port.Read(buffer, sizeof buffer) > 0) {
  }
  notified.record(ticks);
}

// A pause of 1 to 3 ms at random between rounds, so that the writes do not keep one phase
// of a reader that looks at the line at fixed intervals. It sleeps (at microsecond grain,
// which Sleep does not give): a spinning writer would hold a core that a reader woken by its
// timer is waiting for.
void pause_between_rounds(unsigned& seed) {
  seed = seed * 1103515245u + 12345u;
  LARGE_INTEGER relative;
  relative.QuadPart = -10 * static_cast<LONGLONG>(1000 + (seed >> 8) % 2000);
  NtDelayExecution(FALSE, &relative);
}

// Microseconds from the far end's write to the reader's record, one per round; empty when a
// byte did not come within the bound.
std::vector<double> measure(tambre::test::serial_far_end& far_end, arrival& reader, int rounds) {
  const double per_us = ticks_per_us();
  const std::string probe(1, kProbe);
  std::vector<double> latencies;
  unsigned seed = 1;
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    pause_between_rounds(seed);
    const LONGLONG written_at = now_ticks();
    if (!far_end.write(probe) || WaitForSingleObject(reader.seen.get(), kRoundBoundMs) != WAIT_OBJECT_0) return {};
    if (round >= 0) latencies.push_back(static_cast<double>(reader.at.load() - written_at) / per_us);
  }
  return latencies;
}

struct summary {
  double median = 0;
  double p99 = 0;
};

summary summarize(std::vector<double> latencies) {
  std::sort(latencies.begin(), latencies.end());
  const std::size_t n = latencies.size();
  return {latencies[n / 2], latencies[(n * 99 + 99) / 100 - 1]};
}

ULONGLONG process_cpu_100ns() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto value = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

// The peer: the same port opened with CreateFile, time-outs all zero so that ReadFile blocks
// until its byte is there, read by a thread of its own.
class blocking_reader {
 public:
  blocking_reader(const std::string& path, arrival& reader, tambre::test::serial_far_end& far_end)
      : far_end_(far_end), port_(tambre::test::open_plain_port(path, COMMTIMEOUTS{})) {
    if (!port_) return;
    PurgeComm(port_.get(), PURGE_RXCLEAR);
    thread_ = std::thread([this, &reader] {
      char byte = 0;
      DWORD n = 0;
      while (!stop_ && ReadFile(port_.get(), &byte, 1, &n, nullptr)) {
        if (n == 1) reader.record(now_ticks());
      }
    });
  }
  // The far end's last byte wakes the read that is waiting.
  ~blocking_reader() {
    if (!thread_.joinable()) return;
    stop_ = true;
    far_end_.write(std::string(1, kProbe));
    thread_.join();
  }
  blocking_reader(const blocking_reader&) = delete;
  blocking_reader& operator=(const blocking_reader&) = delete;

  bool is_open() const { return static_cast<bool>(port_); }

 private:
  tambre::test::serial_far_end& far_end_;
  tambre::sys::unique_file port_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  int rounds = 1000;
  DWORD idle_ms = 2000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    if (name == "--idle-ms") idle_ms = static_cast<DWORD>(std::max(1, std::atoi(argv[i + 1])));
  }

  tambre::test::pty_pair pair;
  if (!pair.ready()) {
    std::printf("serial_latency_bench: no pseudo-terminal pair: %s\n", pair.error().c_str());
    return 1;
  }
  tambre::test::serial_far_end far_end(pair.far_path());
  if (!far_end.is_open()) {
    std::printf("serial_latency_bench: the far end %s does not open\n", pair.far_name().c_str());
    return 1;
  }

  std::vector<double> ours;
  double idle_share = 0;
  {
    CSio port;
    port.SetNotify(on_receive, nullptr, nullptr);
    if (port.Open(pair.near_config("115200,N,8,1").c_str(), 0) != 1) {
      std::printf("serial_latency_bench: CSio does not open %s\n", pair.near_name().c_str());
      return 1;
    }
    const ULONGLONG cpu_before = process_cpu_100ns();
    const LONGLONG idle_start = now_ticks();
    Sleep(idle_ms);
    const ULONGLONG cpu_used = process_cpu_100ns() - cpu_before;
    const double idle_us = static_cast<double>(now_ticks() - idle_start) / ticks_per_us();
    idle_share = 100.0 * (static_cast<double>(cpu_used) / 10.0) / idle_us;
    ours = measure(far_end, notified, rounds);
    port.Close();
  }

  arrival returned;
  std::vector<double> peer;
  {
    blocking_reader reader("\\\\.\\" + pair.near_name(), returned, far_end);
    if (!reader.is_open()) {
      std::printf("serial_latency_bench: CreateFile does not open %s\n", pair.near_name().c_str());
      return 1;
    }
    peer = measure(far_end, returned, rounds);
  }

  if (ours.empty() || peer.empty()) {
    std::printf("serial_latency_bench: a byte did not arrive within %lu ms (ours %s, peer %s)\n", kRoundBoundMs,
                ours.empty() ? "failed" : "fine", peer.empty() ? "failed" : "fine");
    return 1;
  }
  const summary mine = summarize(ours);
  const summary theirs = summarize(peer);
  std::printf("serial_latency_bench: %d rounds of one byte on %s, far end %s\n", rounds, pair.near_name().c_str(),
              pair.far_name().c_str());
  std::printf(
      "ratio serial_notify / blocking_read = %.2f (median ours %.0f us, peer %.0f us; p99 ours %.0f us, peer "
      "%.0f us)\n",
      mine.median / theirs.median, mine.median, theirs.median, mine.p99, theirs.p99);
  std::printf("idle cpu: %.2f %% of one core\n", idle_share);
  return 0;
}
