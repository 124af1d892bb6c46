#pragma once
// Console output of Google Benchmark plus one line per (ours, peer) pair at the end:
// "ratio ours / peer = x (cpu y)", the wall time per call of ours over the peer's and the
// same for processor time, which holds steadier on a machine shared with other work. The
// pairs and the peers' descriptions also go into the run's context ("pair:<ours>|<peer>",
// "peer:<peer>"), so a JSON output (--benchmark_out) carries everything tools/bench.sh
// reports.
#include <benchmark/benchmark.h>
#include <gnu/libc-version.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tambre::bench {

class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  explicit ratio_reporter(std::vector<std::pair<std::string, std::string>> pairs) : pairs_(std::move(pairs)) {
    for (const auto& [ours, peer] : pairs_) benchmark::AddCustomContext("pair:" + ours + "|" + peer, "ours|peer");
  }
  // With repetitions (--benchmark_repetitions) the median of them counts: a shared
  // machine slows single runs now and then, and the median leaves those out.
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      const std::string name = run.run_name.str();
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      if (!median && from_median_.count(name)) continue;
      if (median) from_median_.insert(name);
      times_[name] = run.GetAdjustedRealTime();
      cpu_times_[name] = run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [ours, peer] : pairs_) {
      if (times_.count(ours) && times_.count(peer) && times_[peer] > 0 && cpu_times_[peer] > 0) {
        std::printf("ratio %s / %s = %.2f (cpu %.2f)\n", ours.c_str(), peer.c_str(), times_[ours] / times_[peer],
                    cpu_times_[ours] / cpu_times_[peer]);
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::map<std::string, double> times_;
  std::map<std::string, double> cpu_times_;
  std::set<std::string> from_median_;
};

// Names what a peer benchmark runs, with its version: "zlib 1.2.13".
inline void describe_peer(const std::string& benchmark_name, const std::string& peer) {
  benchmark::AddCustomContext("peer:" + benchmark_name, peer);
}

inline std::string glibc_version() { return std::string("glibc ") + gnu_get_libc_version(); }

// Runs the registered benchmarks and prints the ratios of the pairs.
inline int run_with_ratios(int argc, char** argv, std::vector<std::pair<std::string, std::string>> pairs) {
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter(std::move(pairs));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}

}  // namespace tambre::bench
