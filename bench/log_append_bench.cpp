// LogFile's append of one entry (BeginLog, two AddLog lines, EndLog) beside a writer that
// puts the same bytes into the file with fprintf and fflush. Both start again from an empty
// file every 4096 entries, so that the journal's trimming stays out of the measurement.
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ratio_reporter.h"
#include "tambre32/logfile.h"

namespace {

constexpr long entries_per_file = 4096;

const std::string& directory() {
  static const std::string path = [] {
    char dir[] = "/tmp/tambre-log-append-XXXXXX";
    if (mkdtemp(dir) == nullptr) std::abort();
    return std::string(dir);
  }();
  return path;
}

long file_size(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  std::fseek(file, 0, SEEK_END);
  long size = std::ftell(file);
  std::fclose(file);
  return size;
}

void BM_LogFileAppend(benchmark::State& state) {
  const std::string path = directory() + "/ours.log";
  std::remove(path.c_str());
  LogFile log;
  log.SetFileName(path.c_str());
  log.SetMaxItems(10000);
  long n = 0;
  for (auto _ : state) {
    if (n == entries_per_file) {
      state.PauseTiming();
      log.Clear();
      n = 0;
      state.ResumeTiming();
    }
    ++n;
    log.BeginLog("Messung %ld", n);
    log.AddLog("Druck %ld.%ld bar", n % 17, n % 10);
    log.AddLog("Temperatur %ld Grad", n % 90);
    if (!log.EndLog()) state.SkipWithError("EndLog failed");
  }
  log.Close();
  state.counters["bytes_per_entry"] = static_cast<double>(file_size(path)) / static_cast<double>(n);
  std::remove(path.c_str());
}

// The peer writes the header as the journal does: "[#n:dd.mm.yyyy hh:mm: title]", CR LF.
void BM_fprintf_fflush(benchmark::State& state) {
  const std::string path = directory() + "/peer.log";
  std::remove(path.c_str());
  std::FILE* file = std::fopen(path.c_str(), "ab");
  long n = 0;
  for (auto _ : state) {
    if (n == entries_per_file) {
      state.PauseTiming();
      std::fclose(file);
      std::remove(path.c_str());
      file = std::fopen(path.c_str(), "ab");
      n = 0;
      state.ResumeTiming();
    }
    ++n;
    char when[32];
    time_t now = ::time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(when, sizeof when, "%d.%m.%Y %H:%M", &local);
    std::fprintf(file, "[#%ld:%s: Messung %ld]\r\nDruck %ld.%ld bar\r\nTemperatur %ld Grad\r\n", n, when, n, n % 17,
                 n % 10, n % 90);
    if (std::fflush(file) != 0) state.SkipWithError("fflush failed");
  }
  std::fclose(file);
  state.counters["bytes_per_entry"] = static_cast<double>(file_size(path)) / static_cast<double>(n);
  std::remove(path.c_str());
}

BENCHMARK(BM_LogFileAppend);
BENCHMARK(BM_fprintf_fflush);

}  // namespace

int main(int argc, char** argv) {
  tambre::bench::describe_peer("BM_fprintf_fflush", tambre::bench::glibc_version());
  int result = tambre::bench::run_with_ratios(argc, argv, {{"BM_LogFileAppend", "BM_fprintf_fflush"}});
  rmdir(directory().c_str());
  return result;
}
