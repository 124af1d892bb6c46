#pragma once
// Console output plus one "ratio ours / peer" line per pair after the runs: a value below
// 1 means we are faster.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  explicit ratio_reporter(std::vector<std::pair<std::string, std::string>> pairs) : pairs_(std::move(pairs)) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [ours, peer] : pairs_) {
      if (times_.count(ours) && times_.count(peer) && times_[peer] > 0) {
        std::printf("ratio %s / %s = %.2f (speed %.2fx the peer's)\n", ours.c_str(), peer.c_str(),
                    times_[ours] / times_[peer], times_[peer] / times_[ours]);
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::map<std::string, double> times_;
};
