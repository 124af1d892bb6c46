// LogFile on real files: the bytes it writes, numbering across objects, trimming in
// place, ranges read back, damaged tails and concurrent writers.
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include "log/log_test_support.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "tambre32/logfile.h"
#include "tambre32/timetext.h"

namespace {

using log_test::entries_of;
using log_test::headers_of;
using log_test::lines_of;
using log_test::named_log;
using log_test::range;
using tambre::test::file_contents;

std::string time_text(std::time_t t) {
  char buffer[32];
  TimeStr(buffer, static_cast<tambre_time_t>(t + 12), 0, 124);
  return buffer;
}

// Writes entry "Eintrag <n>" with `lines` lines "Zeile <n>.<i>".
bool write_entry(LogFile& log, long n, int lines = 2) {
  if (!log.BeginLog("Eintrag %ld", n)) return false;
  for (int i = 1; i <= lines; ++i) log.AddLog("Zeile %ld.%d", n, i);
  return log.EndLog();
}

struct log_file_test : ::testing::Test {
  tambre::test::temp_dir dir;
  std::string path = dir.file("journal.log");
};

TEST_F(log_file_test, FirstEntryBytesOnDisk) {
  named_log log(path);
  ASSERT_TRUE(log.Open());
  EXPECT_EQ(log.GetFirstItem(), 0);
  EXPECT_EQ(log.GetLastItem(), 0);
  std::time_t before = std::time(nullptr);
  ASSERT_TRUE(log.BeginLog("Start %s", "Pumpe"));
  EXPECT_TRUE(log.AddLog("Druck\t%d bar", 5));
  EXPECT_TRUE(log.AddLog("zwei\r\nZeilen"));
  ASSERT_TRUE(log.EndLog());
  std::time_t after = std::time(nullptr);
  EXPECT_EQ(log.GetFirstItem(), 1);
  EXPECT_EQ(log.GetLastItem(), 1);
  EXPECT_GE(log.GetLastUpdate(), static_cast<long>(before));
  log.Close();

  std::string body = ": Start Pumpe]\r\nDruck 5 bar\r\nzwei  Zeilen\r\n";
  std::string bytes = file_contents(path);
  std::set<std::string> allowed;
  for (std::time_t t = before; t <= after; ++t) allowed.insert("[#1:" + time_text(t) + body);
  EXPECT_EQ(allowed.count(bytes), 1u) << bytes;
}

TEST_F(log_file_test, FirstLineWithoutHeaderLeavesFirstUnknown) {
  tambre::test::write_file(path, "Vorspann\r\n[#8:t: a]\r\nx\r\n[#9:t: b]\r\n");
  named_log log(path);
  ASSERT_TRUE(log.Open());
  EXPECT_EQ(log.GetFirstItem(), 0);
  EXPECT_EQ(log.GetLastItem(), 9);
  ASSERT_TRUE(write_entry(log, 10));
  EXPECT_EQ(log.GetFirstItem(), 1);
  EXPECT_EQ(log.GetLastItem(), 10);
}

// The bound is passed by eleven before a trim; the kept entries move to the file's start
// in place, over many blocks, and a new reader finds them.
TEST_F(log_file_test, TrimsInPlaceElevenPastTheBound) {
  named_log log(path);
  ASSERT_TRUE(log.SetMaxItems(100));
  for (long n = 1; n <= 110; ++n) ASSERT_TRUE(write_entry(log, n, static_cast<int>(n % 3) * 12));
  EXPECT_EQ(log.GetFirstItem(), 1);
  std::string before = file_contents(path);
  ASSERT_NE(before.find("[#110:"), std::string::npos);

  ASSERT_TRUE(write_entry(log, 111, 1));
  EXPECT_EQ(log.GetFirstItem(), 12);
  EXPECT_EQ(log.GetLastItem(), 111);
  std::string after = file_contents(path);
  // The kept entries byte for byte, the new one behind them, nothing else.
  std::string kept = before.substr(before.find("[#12:"));
  ASSERT_EQ(after.compare(0, kept.size(), kept), 0);
  EXPECT_EQ(after.find("[#111:"), kept.size());
  EXPECT_EQ(after.substr(kept.size() + after.substr(kept.size()).find("]\r\n") + 3), "Zeile 111.1\r\n");
  log.Close();
  named_log reader(path);
  ASSERT_TRUE(reader.Open());
  EXPECT_EQ(reader.GetFirstItem(), 12);
  EXPECT_EQ(reader.GetLastItem(), 111);
  EXPECT_EQ(entries_of(reader), range(12, 111));
}

TEST_F(log_file_test, GetItemsRanges) {
  named_log log(path);
  StringList empty;
  empty.Add("alt");
  EXPECT_TRUE(log.GetItems(empty, -1, -1)) << "no file yet";
  EXPECT_EQ(empty.GetCount(), 0);
  EXPECT_TRUE(log.IsOpen());
  for (long n = 1; n <= 20; ++n) ASSERT_TRUE(write_entry(log, n, static_cast<int>(n % 4)));
  struct row {
    const char* name;
    long first, last;
    bool ok;
    long from, to;  // expected entries; from 0 = none
  } rows[] = {
      {"all", -1, -1, true, 1, 20},
      {"last only", 20, 20, true, 20, 20},
      {"middle", 7, 9, true, 7, 9},
      {"from the first", -1, 3, true, 1, 3},
      {"to the last", 18, -1, true, 18, 20},
      {"below the first is clamped", -5, 2, true, 1, 2},
      {"past the last is clamped", 19, 500, true, 19, 20},
      {"last below first", 9, 7, false, 0, 0},
  };
  for (const auto& r : rows) {
    StringList list;
    list.Add("alt");
    EXPECT_EQ(log.GetItems(list, r.first, r.last), r.ok) << r.name;
    EXPECT_EQ(headers_of(list), r.from == 0 ? std::vector<long>{} : range(r.from, r.to)) << r.name;
  }
  StringList list;
  ASSERT_TRUE(log.GetItems(list, 6, 6));
  std::vector<std::string> lines = lines_of(list);
  ASSERT_EQ(lines.size(), 3u);
  // The CR of every line end comes back as a trailing blank.
  EXPECT_EQ(lines[0].substr(lines[0].size() - 11), "Eintrag 6] ");
  EXPECT_EQ(lines[1], "Zeile 6.1 ");
  EXPECT_EQ(lines[2], "Zeile 6.2 ");
}

TEST_F(log_file_test, NumberingAfterWholeAndDamagedTails) {
  struct row {
    const char* name;
    std::string tail;
    long last;
  } rows[] = {
      // The tails' forms are log_format_test's; here what LogFile makes of them.
      {"no damage: the numbering goes on across objects", "", 3},
      {"cut inside the next header", "[#4:05.12.20", 4},
      {"binary garbage", std::string("\0\xff\xfe[#\x01\r\n\x1a\0", 11), 3},
  };
  for (const auto& r : rows) {
    std::string file = dir.file(std::string("damaged-") + std::to_string(&r - rows) + ".log");
    {
      named_log writer(file);
      for (long n = 1; n <= 3; ++n) ASSERT_TRUE(write_entry(writer, n));
    }
    std::ofstream(file, std::ios::binary | std::ios::app) << r.tail;
    named_log log(file);
    ASSERT_TRUE(log.Open()) << r.name;
    EXPECT_EQ(log.GetFirstItem(), 1) << r.name;
    EXPECT_EQ(log.GetLastItem(), r.last) << r.name;
    EXPECT_EQ(entries_of(log, 1, 3), range(1, 3)) << r.name;
    // The next entry follows the newest number found.
    ASSERT_TRUE(write_entry(log, r.last + 1)) << r.name;
    log.Close();
    named_log reopened(file);
    ASSERT_TRUE(reopened.Open()) << r.name;
    EXPECT_EQ(reopened.GetLastItem(), r.last + 1) << r.name;
    EXPECT_EQ(entries_of(reopened), range(1, r.last + 1)) << r.name;
  }
}

TEST_F(log_file_test, EntryStateRules) {
  named_log log(path);
  EXPECT_FALSE(log.AddLog("ohne Eintrag"));
  EXPECT_FALSE(log.EndLog());
  ASSERT_TRUE(log.BeginLog(nullptr));
  EXPECT_TRUE(log.BeginLog("zweiter"));  // still the first entry
  log.AddLog("a");
  log.DiscardLog();
  EXPECT_TRUE(log.EndLog());  // nothing pending: nothing written
  EXPECT_EQ(log.GetLastItem(), 0);
  EXPECT_EQ(file_contents(path), "");
  ASSERT_TRUE(log.BeginLog(nullptr));
  ASSERT_TRUE(log.EndLog());
  std::string bytes = file_contents(path);
  // An entry without a title: the header ends in ": ]".
  EXPECT_EQ(bytes.substr(bytes.size() - 5), ": ]\r\n") << bytes;
  EXPECT_EQ(bytes.find("zweiter"), std::string::npos);
}

#if !defined(_WIN32)
// A file size limit makes the write fail part way: the entry counts for nothing.
TEST_F(log_file_test, FailedWriteKeepsTheNumbering) {
  named_log log(path);
  ASSERT_TRUE(write_entry(log, 1));
  rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit limit = old_limit;
  limit.rlim_cur = file_contents(path).size() + 10;
  std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool written = write_entry(log, 2);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(written);
  EXPECT_EQ(log.GetLastItem(), 1);
}
#endif

TEST_F(log_file_test, LinesAreCutAt511) {
  named_log log(path);
  ASSERT_TRUE(log.BeginLog("%s", std::string(2000, 'T').c_str()));
  ASSERT_TRUE(log.AddLog("%s", std::string(600, 'L').c_str()));
  ASSERT_TRUE(log.EndLog());
  std::string bytes = file_contents(path);
  std::size_t first_end = bytes.find("\r\n");
  EXPECT_EQ(first_end, 511u);
  EXPECT_EQ(bytes.substr(first_end + 2), std::string(511, 'L') + "\r\n");
}

TEST_F(log_file_test, StringTableLineKeepsItsLineBreaks) {
#ifdef _WIN32
  tambre_module_t module = GetModuleHandleA("tambre32.dll");
  if (module == nullptr) module = GetModuleHandleA(nullptr);
#else
  tambre_module_t module = nullptr;
#endif
  named_log log(path);
  EXPECT_FALSE(log.AddLog(module, 207u, "a.reg", 3, 5, "x"));  // no entry open
  ASSERT_TRUE(log.BeginLog("Import"));
  EXPECT_FALSE(log.AddLog(module, 65000u));
  ASSERT_TRUE(log.AddLog(module, 207u, "a.reg", 3, 5, "x"));
  ASSERT_TRUE(log.EndLog());
  std::string bytes = file_contents(path);
  EXPECT_NE(bytes.find("'a.reg'"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\n\nZeile: 3\nFehler: 5"), std::string::npos) << bytes;
}

TEST_F(log_file_test, ClearDeletesTheFile) {
  named_log log(path);
  ASSERT_TRUE(write_entry(log, 1));
  ASSERT_TRUE(log.Clear());
  EXPECT_FALSE(std::ifstream(path).good());
  EXPECT_FALSE(log.IsOpen());
  ASSERT_TRUE(log.Open());
  EXPECT_EQ(log.GetFirstItem(), 0);
  EXPECT_EQ(log.GetLastItem(), 0);
  EXPECT_TRUE(std::ifstream(path).good());
}

TEST_F(log_file_test, FailedOpenStaysFailedUntilANewName) {
  LogFile log;
  EXPECT_FALSE(log.Open());  // no name
  std::string bad = dir.file("fehlt") + "/journal.log";
  log.SetFileName(bad.c_str());
  EXPECT_FALSE(log.Open());
  std::filesystem::create_directory(dir.file("fehlt"));
  EXPECT_FALSE(log.Open());  // remembered failure
  log.SetFileName(bad.c_str());
  EXPECT_TRUE(log.Open());
}

TEST(LogFile, BoundsAndFileNames) {
  for (auto [value, ok] : {std::pair{0L, false}, {1L, true}, {10000L, true}, {10001L, false}, {-1L, false}}) {
    LogFile log;
    EXPECT_EQ(log.SetMaxItems(value), ok) << value;
  }
  for (auto [given, expected] :
       {std::pair{"C:\\drv\\abc.drv", "C:\\drv\\abc.log"}, {"C:\\d.v\\a.b.c", "C:\\d.v\\a.b.log"}, {"", ""}}) {
    LogFile log;
    log.SetAutoFileName(given);
    EXPECT_STREQ(log.GetFileName(), expected) << given;
  }
  LogFile log;
  log.SetAutoFileName(nullptr);
  EXPECT_STREQ(log.GetFileName(), "");
  std::string long_name(400, 'n');
  log.SetFileName(long_name.c_str());
  EXPECT_EQ(std::string(log.GetFileName()), long_name.substr(0, 260));
}

#ifdef _WIN32
TEST(LogFile, AutoFileNameFromModule) {
  char path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
  std::string base = std::string(path).substr(std::string(path).rfind('\\') + 1);
  base = base.substr(0, base.rfind('.'));
  LogFile log;
  log.SetAutoFileName(GetModuleHandleA(nullptr), "D:\\logs");
  EXPECT_EQ(std::string(log.GetFileName()), "D:\\logs\\" + base + ".log");
  LogFile untouched;
  untouched.SetFileName("x.log");
  untouched.SetAutoFileName(GetModuleHandleA(nullptr), nullptr);
  EXPECT_STREQ(untouched.GetFileName(), "x.log");
}
#endif

// Several objects on one file, written from several threads at once: whole entries only.
TEST_F(log_file_test, ConcurrentObjectsWriteWholeEntries) {
  constexpr int writers = 4, entries = 40, lines = 6;
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w) {
    threads.emplace_back([&, w] {
      named_log log(path);
      for (int e = 0; e < entries; ++e) {
        log.BeginLog("W%d E%d", w, e);
        for (int i = 0; i < lines; ++i) log.AddLog("W%d E%d L%d", w, e, i);
        log.EndLog();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(log_test::whole_entries(file_contents(path), lines, ""), writers * entries);
}

// One object shared by threads, reads in between: the numbers stay unique and in order.
TEST_F(log_file_test, SharedObjectNumbersStayUnique) {
  named_log log(path);
  std::mutex entry_builder;
  std::vector<std::thread> threads;
  for (int w = 0; w < 3; ++w) {
    threads.emplace_back([&] {
      for (int e = 0; e < 30; ++e) {
        std::lock_guard<std::mutex> hold(entry_builder);
        ASSERT_TRUE(log.BeginLog("E"));
        log.AddLog("x");
        ASSERT_TRUE(log.EndLog());
      }
    });
    threads.emplace_back([&] {
      for (int e = 0; e < 30; ++e) {
        StringList list;
        ASSERT_TRUE(log.GetItems(list, -1, -1));
        std::vector<long> numbers = headers_of(list);
        if (!numbers.empty()) {
          ASSERT_EQ(numbers, range(1, numbers.back()));
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(entries_of(log), range(1, 90));
}

}  // namespace
