// LogFile::GetItems of one entry in a 10,000-entry journal, beside the linear scan of the
// file a reader would otherwise write; and what Open reads to learn the newest number, in
// that journal and in one of 100 MB.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "log/log_format.h"
#include "ratio_reporter.h"
#include "tambre32/logfile.h"

namespace {

constexpr long entries = 10000;

// A journal of 10,000 entries of three lines each, written once per run through LogFile.
const std::string& journal() {
  static const std::string path = [] {
    char dir[] = "/tmp/tambre-log-bench-XXXXXX";
    if (mkdtemp(dir) == nullptr) std::abort();
    std::string file = std::string(dir) + "/journal.log";
    LogFile log;
    log.SetFileName(file.c_str());
    log.SetMaxItems(entries);
    for (long n = 1; n <= entries; ++n) {
      log.BeginLog("Messung %ld", n);
      log.AddLog("Druck %ld.%ld bar", n % 17, n % 10);
      log.AddLog("Temperatur %ld Grad", n % 90);
      log.EndLog();
    }
    return file;
  }();
  return path;
}

// A journal of 100 MB in the log's own format (written directly, sequential numbers).
const std::string& large_journal() {
  static const std::string path = [] {
    std::string file = journal().substr(0, journal().rfind('/')) + "/large.log";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) std::abort();
    std::string block;
    long written = 0;
    for (long n = 1; written < 100L * 1024 * 1024; ++n) {
      char entry[160];
      const int length = std::snprintf(
          entry, sizeof entry, "[#%ld:06.12.2026 10:00: Messung %ld]\r\nDruck %ld bar\r\nTemperatur %ld Grad\r\n", n, n,
          n % 17, n % 90);
      block.append(entry, static_cast<std::size_t>(length));
      written += length;
      if (block.size() > (1 << 20)) {
        std::fwrite(block.data(), 1, block.size(), out);
        block.clear();
      }
    }
    std::fwrite(block.data(), 1, block.size(), out);
    std::fclose(out);
    return file;
  }();
  return path;
}

long pick(long i) { return 1 + (i * 7919) % entries; }

void BM_LogFileGetItems(benchmark::State& state) {
  LogFile log;
  log.SetFileName(journal().c_str());
  log.Open();
  StringList list;
  long i = 0;
  for (auto _ : state) {
    long n = pick(i++);
    log.GetItems(list, n, n);
    if (list.GetCount() != 3) state.SkipWithError("wrong entry");
  }
}

// The peer: lines from the start until header n, then its lines until the next header.
void BM_LinearScan(benchmark::State& state) {
  std::FILE* file = std::fopen(journal().c_str(), "rb");
  StringList list;
  char line[512];
  long i = 0;
  for (auto _ : state) {
    long n = pick(i++);
    list.Clear();
    std::rewind(file);
    bool inside = false;
    long number = 0;
    while (std::fgets(line, sizeof line, file) != nullptr) {
      if (tambre::log::parse_header(line, std::strlen(line), number)) {
        if (inside) break;
        inside = number == n;
      }
      if (inside) list.Add(line);
    }
    if (list.GetCount() != 3) state.SkipWithError("wrong entry");
  }
  std::fclose(file);
}

// Open's scan for the newest number: the bytes it reads, against the whole file's size.
void tail_scan(benchmark::State& state, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  std::fseek(file, 0, SEEK_END);
  std::int64_t size = std::ftell(file);
  tambre::log::read_at read = [file](std::int64_t offset, char* buffer, std::size_t n) -> std::size_t {
    std::fseek(file, static_cast<long>(offset), SEEK_SET);
    return std::fread(buffer, 1, n, file);
  };
  std::int64_t bytes = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tambre::log::last_header_number(read, size, &bytes));
  state.counters["bytes_read"] = static_cast<double>(bytes);
  state.counters["file_bytes"] = static_cast<double>(size);
  std::fclose(file);
}

void BM_OpenTailScan(benchmark::State& state) { tail_scan(state, journal()); }
void BM_OpenTailScan100MB(benchmark::State& state) { tail_scan(state, large_journal()); }

// LogFile::Open and Close of the 100 MB journal: the first and the newest number.
void BM_LogFileOpen100MB(benchmark::State& state) {
  LogFile log;
  log.SetFileName(large_journal().c_str());
  for (auto _ : state) {
    log.Open();
    if (log.GetFirstItem() != 1 || log.GetLastItem() < 1000000) state.SkipWithError("wrong numbers");
    log.Close();
  }
}

BENCHMARK(BM_LogFileGetItems);
BENCHMARK(BM_LinearScan);
BENCHMARK(BM_OpenTailScan);
BENCHMARK(BM_OpenTailScan100MB);
BENCHMARK(BM_LogFileOpen100MB);

}  // namespace

int main(int argc, char** argv) {
  tambre::bench::describe_peer("BM_LinearScan", "linear fgets scan, " + tambre::bench::glibc_version());
  int result = tambre::bench::run_with_ratios(argc, argv, {{"BM_LogFileGetItems", "BM_LinearScan"}});
  std::string dir = journal().substr(0, journal().rfind('/'));
  std::remove(journal().c_str());
  std::remove((dir + "/large.log").c_str());  // when a benchmark wrote it
  rmdir(dir.c_str());
  return result;
}
