// stristr beside glibc's strcasestr, strmatch beside fnmatch(FNM_CASEFOLD), same inputs:
// short texts with two stars, and long texts (a few KiB) with four stars whose pieces lie
// spread over the text. The ratio line after each pair is ours / peer in time per call.
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
  std::vector<std::string> long_texts;
  std::vector<std::string> long_patterns;
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
    for (int i = 0; i < 32; ++i) {
      std::string text(1024 + 256 * i, ' ');
      for (char& c : text) c = alphabet[pick(rng)];
      const std::size_t n = text.size();
      d.long_patterns.push_back("*" + text.substr(n / 5, 3) + "*" + text.substr(2 * n / 5, 4) + "?*" +
                                text.substr(3 * n / 4, 3) + "*" + text.substr(n - 5));
      d.long_texts.push_back(text);
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

void BM_strmatch_long(benchmark::State& state) {
  const auto& d = sample();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(strmatch(d.long_texts[i].c_str(), d.long_patterns[i].c_str()));
    i = (i + 1) % d.long_texts.size();
  }
}

void BM_fnmatch_long(benchmark::State& state) {
  const auto& d = sample();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fnmatch(d.long_patterns[i].c_str(), d.long_texts[i].c_str(), FNM_CASEFOLD));
    i = (i + 1) % d.long_texts.size();
  }
}

BENCHMARK(BM_stristr);
BENCHMARK(BM_strcasestr);
BENCHMARK(BM_strmatch);
BENCHMARK(BM_fnmatch_casefold);
BENCHMARK(BM_strmatch_long);
BENCHMARK(BM_fnmatch_long);

}  // namespace

int main(int argc, char** argv) {
  tambre::bench::describe_peer("BM_strcasestr", tambre::bench::glibc_version());
  tambre::bench::describe_peer("BM_fnmatch_casefold", tambre::bench::glibc_version());
  tambre::bench::describe_peer("BM_fnmatch_long", tambre::bench::glibc_version());
  return tambre::bench::run_with_ratios(argc, argv,
                                        {{"BM_stristr", "BM_strcasestr"},
                                         {"BM_strmatch", "BM_fnmatch_casefold"},
                                         {"BM_strmatch_long", "BM_fnmatch_long"}});
}
