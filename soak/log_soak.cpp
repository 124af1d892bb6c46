// The journal under load and faults: writer processes append entries to one log file with
// trimming active, while one writer is killed (SIGKILL) at a fixed pace and restarted where
// its own record says it stopped. Afterwards the file must parse, its entry numbers rise
// by one, no entry is torn, and every writer's entries form one unbroken run up to its
// last (what is missing lies before the run: cut away as the oldest).
//
//   log_soak [--writers 4] [--entries 5000] [--kill-ms 1000] [--max-items 500] [--pace-us 0] [--dir D]
// Prints one line of figures; exits 0 when the file holds, 1 otherwise.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tambre32/logfile.h"

namespace {

constexpr int lines_per_entry = 3;

struct options {
  int writers = 4;
  int entries = 5000;
  int kill_ms = 1000;
  int max_items = 500;
  int pace_us = 0;  // pause between a writer's entries
  std::string dir = "/tmp";
};

std::string progress_path(const options& o, int writer) { return o.dir + "/log_soak." + std::to_string(writer); }
std::string log_path(const options& o) { return o.dir + "/log_soak.log"; }

// The last entry the writer finished, by its own record (0: none).
int finished(const options& o, int writer) {
  int value = 0;
  std::FILE* f = std::fopen(progress_path(o, writer).c_str(), "rb");
  if (f == nullptr) return 0;
  if (std::fread(&value, sizeof value, 1, f) != 1) value = 0;
  std::fclose(f);
  return value;
}

[[noreturn]] void write_entries(const options& o, int writer) {
  LogFile log;
  log.SetFileName(log_path(o).c_str());
  log.SetMaxItems(o.max_items);
  const int record = open(progress_path(o, writer).c_str(), O_WRONLY | O_CREAT, 0644);
  for (int entry = finished(o, writer) + 1; entry <= o.entries; ++entry) {
    log.BeginLog("w%d e%d", writer, entry);
    for (int line = 1; line <= lines_per_entry; ++line) log.AddLog("w%d e%d line %d", writer, entry, line);
    if (!log.EndLog()) _exit(3);
    if (pwrite(record, &entry, sizeof entry, 0) != sizeof entry) _exit(4);
    if (o.pace_us > 0) usleep(static_cast<useconds_t>(o.pace_us));
  }
  _exit(0);
}

pid_t start_writer(const options& o, int writer) {
  const pid_t pid = fork();
  if (pid == 0) write_entries(o, writer);
  return pid;
}

struct verdict {
  int entries = 0, first = 0, last = 0, numbering_faults = 0, torn = 0, gaps = 0, strange = 0;
};

// Reads the file back and checks it.
verdict check(const options& o) {
  verdict v;
  std::ifstream in(log_path(o), std::ios::binary);
  std::string line;
  int expected_lines = 0, writer = 0, entry = 0;
  std::map<int, std::vector<int>> seen;  // writer -> entries in file order
  auto close_entry = [&] {
    if (expected_lines != 0) ++v.torn;
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    long number = 0;
    if (line.rfind("[#", 0) == 0 && std::sscanf(line.c_str(), "[#%ld:", &number) == 1) {
      close_entry();
      const char* colon = std::strstr(line.c_str(), ": w");
      if (colon == nullptr || std::sscanf(colon + 2, "w%d e%d", &writer, &entry) != 2) {
        ++v.strange;
        expected_lines = 0;
        continue;
      }
      if (v.entries == 0)
        v.first = static_cast<int>(number);
      else if (number != v.last + 1)
        ++v.numbering_faults;
      v.last = static_cast<int>(number);
      ++v.entries;
      seen[writer].push_back(entry);
      expected_lines = lines_per_entry;
      continue;
    }
    int w = 0, e = 0, l = 0;
    if (expected_lines > 0 && std::sscanf(line.c_str(), "w%d e%d line %d", &w, &e, &l) == 3 && w == writer &&
        e == entry && l == lines_per_entry - expected_lines + 1) {
      --expected_lines;
    } else {
      ++v.strange;
    }
  }
  close_entry();
  // Each writer: one unbroken run of its entries up to its last; an entry may stand twice
  // when its writer was killed after writing it and before recording it.
  for (auto& [w, list] : seen) {
    for (std::size_t i = 1; i < list.size(); ++i) {
      if (list[i] != list[i - 1] + 1 && list[i] != list[i - 1]) ++v.gaps;
    }
    if (list.back() != o.entries) ++v.gaps;
  }
  // A writer with no entry left was cut away whole, as the oldest: the file holds only
  // newer ones.
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--writers")
      o.writers = std::atoi(value);
    else if (name == "--entries")
      o.entries = std::atoi(value);
    else if (name == "--kill-ms")
      o.kill_ms = std::atoi(value);
    else if (name == "--max-items")
      o.max_items = std::atoi(value);
    else if (name == "--pace-us")
      o.pace_us = std::atoi(value);
    else if (name == "--dir")
      o.dir = value;
  }
  std::remove(log_path(o).c_str());
  for (int w = 0; w < o.writers; ++w) std::remove(progress_path(o, w).c_str());

  const auto start = std::chrono::steady_clock::now();
  std::vector<pid_t> pids(o.writers);
  for (int w = 0; w < o.writers; ++w) pids[w] = start_writer(o, w);
  std::mt19937 random(7);
  int kills = 0, running = o.writers, failures = 0;
  while (running > 0) {
    // Reap the writers that finished while waiting for the next kill.
    const auto next_kill = std::chrono::steady_clock::now() + std::chrono::milliseconds(o.kill_ms);
    while (running > 0 && std::chrono::steady_clock::now() < next_kill) {
      int status = 0;
      const pid_t done = waitpid(-1, &status, WNOHANG);
      if (done > 0) {
        for (auto& pid : pids) {
          if (pid != done) continue;
          pid = 0;
          --running;
          if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
        }
        continue;
      }
      usleep(2000);
    }
    if (running == 0) break;
    std::vector<int> alive;
    for (int w = 0; w < o.writers; ++w) {
      if (pids[w] != 0) alive.push_back(w);
    }
    const int victim = alive[random() % alive.size()];
    kill(pids[victim], SIGKILL);
    waitpid(pids[victim], nullptr, 0);
    ++kills;
    pids[victim] = start_writer(o, victim);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const verdict v = check(o);
  std::printf(
      "log_soak: %d writers x %d entries, max %d, %d kills, %.1f s: file holds %d entries (#%d-#%d); "
      "numbering faults %d, torn %d, unexpected lines %d, lost %d, writer failures %d\n",
      o.writers, o.entries, o.max_items, kills, seconds, v.entries, v.first, v.last, v.numbering_faults, v.torn,
      v.strange, v.gaps, failures);
  const bool ok = v.numbering_faults == 0 && v.torn == 0 && v.strange == 0 && v.gaps == 0 && failures == 0 &&
                  v.entries > 0 && v.entries <= o.max_items + 11;
  return ok ? 0 : 1;
}
