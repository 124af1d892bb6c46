// stristr beside glibc's strcasestr, strmatch beside fnmatch(FNM_CASEFOLD), same inputs.
// The ratio line after each pair is ours / peer in time per call.
#include <benchmark/benchmark.h>
#include <fnmatch.h>
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tambre32/strutil.h"

namespace {

struct inputs {
  std::vector<std::string> texts;
  std::vector<std::string> finds;
  std::vector<std::string> patterns;
};

const inputs& sample() {
  static const inputs data = [] {
    inputs d;
    std::mt19937 rng(42);
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ_.0123456789";
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    for (int i = 0; i < 256; ++i) {
      std::string text(40 + i % 80, ' ');
      for (char& c : text) c = alphabet[pick(rng)];
      d.texts.push_back(text);
      d.finds.push_back(text.substr(text.size() / 2, 4));  // found in the middle
      std::string pattern = "*" + text.substr(text.size() / 3, 3) + "*" + text.substr(text.size() - 4);
      d.patterns.push_back(pattern);
    }
    return d;
  }();
  return data;
}

void BM_stristr(benchmark::State& state) {
  const auto& d = sample();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(stristr(d.texts[i].c_str(), d.finds[i].c_str()));
    i = (i + 1) % d.texts.size();
  }
}

void BM_strcasestr(benchmark::State& state) {
  const auto& d = sample();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(strcasestr(d.texts[i].c_str(), d.finds[i].c_str()));
    i = (i + 1) % d.texts.size();
  }
}

void BM_strmatch(benchmark::State& state) {
  const auto& d = sample();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(strmatch(d.texts[i].c_str(), d.patterns[i].c_str()));
    i = (i + 1) % d.texts.size();
  }
}

void BM_fnmatch_casefold(benchmark::State& state) {
  const auto& d = sample();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fnmatch(d.patterns[i].c_str(), d.texts[i].c_str(), FNM_CASEFOLD));
    i = (i + 1) % d.texts.size();
  }
}

BENCHMARK(BM_stristr);
BENCHMARK(BM_strcasestr);
BENCHMARK(BM_strmatch);
BENCHMARK(BM_fnmatch_casefold);

// Prints ours / peer for each pair once the runs are done.
class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    print("BM_stristr", "BM_strcasestr");
    print("BM_strmatch", "BM_fnmatch_casefold");
  }

 private:
  void print(const std::string& ours, const std::string& peer) {
    if (times_.count(ours) && times_.count(peer) && times_[peer] > 0) {
      std::printf("ratio %s / %s = %.2f\n", ours.c_str(), peer.c_str(), times_[ours] / times_[peer]);
    }
  }
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
