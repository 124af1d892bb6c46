// ScanTimeStr's reading of a date and time ("dd.mm.yyyy hh:mm:ss" in the user's order) to a
// time value, beside strptime and mktime on the same texts in the same zone. Before timing,
// both sides must give every text's original time back.
#include <time.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "central_european_zone.h"
#include "locale/locale_snapshot.h"
#include "ratio_reporter.h"
#include "time/time_text.h"

namespace {

namespace tt = tambre::time;

constexpr unsigned date_and_time_fields = 0x007E;  // seconds to year

struct sample_texts {
  std::vector<std::string> texts;
  std::vector<tt::time_value> times;
};

const tambre::locale::locale_snapshot locale{};

const sample_texts& sample() {
  static const sample_texts data = [] {
    tambre::bench::use_central_european_zone();
    sample_texts d;
    std::mt19937 rng(11);
    std::uniform_int_distribution<std::uint32_t> time(946684800u, 2145916799u);
    for (int i = 0; i < 4096; ++i) {
      char text[tt::time_text_size];
      tt::time_value t = time(rng);
      tt::format_time(text, t, 0, date_and_time_fields, locale);
      d.texts.push_back(text);
      d.times.push_back(t);
    }
    return d;
  }();
  return data;
}

tt::time_value glibc_scan(const char* text) {
  struct tm fields {};
  if (strptime(text, "%d.%m.%Y %H:%M:%S", &fields) == nullptr) return tt::no_time;
  fields.tm_isdst = -1;
  return static_cast<tt::time_value>(mktime(&fields));
}

// Both sides read every text back to its time; an ambiguous hour of the autumn change
// may be read as either of its two times, but both sides must agree.
bool sides_agree() {
  const auto& d = sample();
  for (std::size_t i = 0; i < d.texts.size(); ++i) {
    tt::time_value ours = tt::scan_time(d.texts[i].c_str(), true, locale);
    tt::time_value peer = glibc_scan(d.texts[i].c_str());
    if (ours != peer || (ours != d.times[i] && ours + 3600 != d.times[i])) {
      std::fprintf(stderr, "time_scan_bench: \"%s\" read as %u and %u, written from %u\n", d.texts[i].c_str(), ours,
                   peer, d.times[i]);
      return false;
    }
  }
  return true;
}

void BM_ScanTimeStr(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tt::scan_time(d.texts[i].c_str(), true, locale));
    i = (i + 1) % d.texts.size();
  }
}

void BM_strptime_mktime(benchmark::State& state) {
  const auto& d = sample();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(glibc_scan(d.texts[i].c_str()));
    i = (i + 1) % d.texts.size();
  }
}

BENCHMARK(BM_ScanTimeStr);
BENCHMARK(BM_strptime_mktime);

}  // namespace

int main(int argc, char** argv) {
  if (!sides_agree()) return 1;
  tambre::bench::describe_peer("BM_strptime_mktime", tambre::bench::glibc_version());
  return tambre::bench::run_with_ratios(argc, argv, {{"BM_ScanTimeStr", "BM_strptime_mktime"}});
}
