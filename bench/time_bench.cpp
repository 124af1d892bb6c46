// localtime, gmtime and mktime beside glibc's localtime_r, gmtime_r and mktime, on the
// same Central European zone (ours from a zone record, glibc's from Europe/Berlin) and
// the same times, spread over 2000-2037. The ratio lines are ours / glibc per call.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "central_european_zone.h"
#include "ratio_reporter.h"
#include "sys/platform.h"
#include "time/calendar.h"
#include "time/local_time.h"
#include "time/zone_state.h"

namespace {

namespace tt = tambre::time;

struct inputs {
  std::vector<tt::time_value> times;
  std::vector<std::tm> local_fields;  // glibc's breakdown of each time, tm_isdst -1
};

const inputs& sample() {
  static const inputs data = [] {
    tambre::bench::use_central_european_zone();
    inputs d;
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::uint32_t> pick(946684800u, 2145916799u);  // 2000-2037
    for (int i = 0; i < 4096; ++i) {
      tt::time_value t = pick(rng);
      d.times.push_back(t);
      std::time_t tt_ = t;
      std::tm f;
      localtime_r(&tt_, &f);
      f.tm_isdst = -1;
      d.local_fields.push_back(f);
    }
    return d;
  }();
  return data;
}

void BM_localtime(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  std::tm f;
  for (auto _ : state) {
    tt::local_fields(d.times[i], f);
    benchmark::DoNotOptimize(f);
    i = (i + 1) % d.times.size();
  }
}

void BM_glibc_localtime_r(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  std::tm f;
  for (auto _ : state) {
    std::time_t t = d.times[i];
    benchmark::DoNotOptimize(localtime_r(&t, &f));
    i = (i + 1) % d.times.size();
  }
}

void BM_gmtime(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  std::tm f;
  for (auto _ : state) {
    tt::gm_fields(d.times[i], f);
    benchmark::DoNotOptimize(f);
    i = (i + 1) % d.times.size();
  }
}

void BM_glibc_gmtime_r(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  std::tm f;
  for (auto _ : state) {
    std::time_t t = d.times[i];
    benchmark::DoNotOptimize(gmtime_r(&t, &f));
    i = (i + 1) % d.times.size();
  }
}

void BM_mktime(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  for (auto _ : state) {
    std::tm f = d.local_fields[i];
    benchmark::DoNotOptimize(tt::make_local(f));
    i = (i + 1) % d.times.size();
  }
}

void BM_glibc_mktime(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  for (auto _ : state) {
    std::tm f = d.local_fields[i];
    benchmark::DoNotOptimize(mktime(&f));
    i = (i + 1) % d.times.size();
  }
}

BENCHMARK(BM_localtime);
BENCHMARK(BM_glibc_localtime_r);
BENCHMARK(BM_gmtime);
BENCHMARK(BM_glibc_gmtime_r);
BENCHMARK(BM_mktime);
BENCHMARK(BM_glibc_mktime);

}  // namespace

int main(int argc, char** argv) {
  for (const char* peer : {"BM_glibc_localtime_r", "BM_glibc_gmtime_r", "BM_glibc_mktime"}) {
    tambre::bench::describe_peer(peer, tambre::bench::glibc_version());
  }
  return tambre::bench::run_with_ratios(
      argc, argv,
      {{"BM_localtime", "BM_glibc_localtime_r"}, {"BM_gmtime", "BM_glibc_gmtime_r"}, {"BM_mktime", "BM_glibc_mktime"}});
}
