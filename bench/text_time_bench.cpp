// Float and time text beside the C library: FormatFloat beside snprintf("%.*f"),
// ScanFloat beside strtod, TimeStr beside localtime_r and strftime with the same fields.
// The ratio lines are ours / the C library's per call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "central_european_zone.h"
#include "locale/locale_snapshot.h"
#include "ratio_reporter.h"
#include "sys/platform.h"
#include "text/float_text.h"
#include "time/time_text.h"
#include "time/zone_state.h"

namespace {

namespace tt = tambre::time;
namespace tx = tambre::text;

// Measured values as a driver shows them: magnitudes up to 10^5, 0-4 decimals.
struct inputs {
  std::vector<double> values;
  std::vector<int> decimals;
  std::vector<std::string> texts;  // the values written with their decimals
  std::vector<tt::time_value> times;
};

const inputs& sample() {
  static const inputs data = [] {
    tambre::bench::use_central_european_zone();
    inputs d;
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> value(-100000.0, 100000.0);
    std::uniform_int_distribution<int> decimals(0, 4);
    std::uniform_int_distribution<std::uint32_t> time(946684800u, 2145916799u);
    for (int i = 0; i < 4096; ++i) {
      d.values.push_back(value(rng));
      d.decimals.push_back(decimals(rng));
      char text[80];
      std::snprintf(text, sizeof text, "%.*f", d.decimals.back(), d.values.back());
      d.texts.push_back(text);
      d.times.push_back(time(rng));
    }
    return d;
  }();
  return data;
}

const tambre::locale::locale_snapshot locale{};

void BM_FormatFloat(benchmark::State& state) {
  const auto& d = sample();
  char out[128];
  std::size_t i = 0;
  for (auto _ : state) {
    tx::format_float(out, 20, d.decimals[i], d.values[i], 0, locale);
    benchmark::DoNotOptimize(out);
    i = (i + 1) % d.values.size();
  }
}

void BM_snprintf(benchmark::State& state) {
  const auto& d = sample();
  char out[128];
  std::size_t i = 0;
  for (auto _ : state) {
    std::snprintf(out, sizeof out, "%.*f", d.decimals[i], d.values[i]);
    benchmark::DoNotOptimize(out);
    i = (i + 1) % d.values.size();
  }
}

void BM_ScanFloat(benchmark::State& state) {
  const auto& d = sample();
  char text[80];
  std::size_t i = 0;
  for (auto _ : state) {
    // The scanner works in place: both sides copy their text (with its terminator) first.
    std::memcpy(text, d.texts[i].c_str(), d.texts[i].size() + 1);
    bool failed;
    benchmark::DoNotOptimize(tx::scan_float(text, 0, failed, locale));
    i = (i + 1) % d.texts.size();
  }
}

void BM_strtod(benchmark::State& state) {
  const auto& d = sample();
  char text[80];
  std::size_t i = 0;
  for (auto _ : state) {
    std::memcpy(text, d.texts[i].c_str(), d.texts[i].size() + 1);
    benchmark::DoNotOptimize(std::strtod(text, nullptr));
    i = (i + 1) % d.texts.size();
  }
}

void BM_TimeStr(benchmark::State& state) {
  const auto& d = sample();
  char out[tt::time_text_size];
  std::size_t i = 0;
  for (auto _ : state) {
    tt::format_time(out, d.times[i], 0, 0x007E, locale);
    benchmark::DoNotOptimize(out);
    i = (i + 1) % d.times.size();
  }
}

void BM_strftime(benchmark::State& state) {
  const auto& d = sample();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    std::time_t t = d.times[i];
    std::tm f;
    localtime_r(&t, &f);
    std::strftime(out, sizeof out, "%d.%m.%Y %H:%M:%S", &f);
    benchmark::DoNotOptimize(out);
    i = (i + 1) % d.times.size();
  }
}

BENCHMARK(BM_FormatFloat);
BENCHMARK(BM_snprintf);
BENCHMARK(BM_ScanFloat);
BENCHMARK(BM_strtod);
BENCHMARK(BM_TimeStr);
BENCHMARK(BM_strftime);

}  // namespace

int main(int argc, char** argv) {
  for (const char* peer : {"BM_snprintf", "BM_strtod", "BM_strftime"}) {
    tambre::bench::describe_peer(peer, tambre::bench::glibc_version());
  }
  return tambre::bench::run_with_ratios(
      argc, argv, {{"BM_FormatFloat", "BM_snprintf"}, {"BM_ScanFloat", "BM_strtod"}, {"BM_TimeStr", "BM_strftime"}});
}
