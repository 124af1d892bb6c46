// stristr beside glibc's strcasestr, strmatch beside fnmatch(FNM_CASEFOLD), same inputs.
// The ratio line after each pair is ours / peer in time per call.
#include <benchmark/benchmark.h>
#include <fnmatch.h>
#include <strings.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ratio_reporter.h"
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

}  // namespace

int main(int argc, char** argv) {
  tambre::bench::describe_peer("BM_strcasestr", tambre::bench::glibc_version());
  tambre::bench::describe_peer("BM_fnmatch_casefold", tambre::bench::glibc_version());
  return tambre::bench::run_with_ratios(argc, argv,
                                        {{"BM_stristr", "BM_strcasestr"}, {"BM_strmatch", "BM_fnmatch_casefold"}});
}
