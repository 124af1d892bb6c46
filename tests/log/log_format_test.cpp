// The log format's searches over file images in memory (the newest number, an entry, the
// cut of a trim) against positions recorded while the image was built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "log/log_format.h"

namespace {

using tambre::log::read_at;

// A file image that counts the bytes read from it.
struct image {
  std::string bytes;
  std::int64_t read_total = 0;
  read_at reader() {
    return [this](std::int64_t offset, char* buffer, std::size_t size) -> std::size_t {
      if (offset < 0 || offset >= static_cast<std::int64_t>(bytes.size())) return 0;
      std::size_t n = std::min(size, bytes.size() - static_cast<std::size_t>(offset));
      std::memcpy(buffer, bytes.data() + offset, n);
      read_total += static_cast<std::int64_t>(n);
      return n;
    };
  }
  std::int64_t size() const { return static_cast<std::int64_t>(bytes.size()); }
};

// Entries first..last with a varying number of lines of varying length; `starts` gets the
// position of every header. Some lines carry "[#" and digits inside their text.
image make_log(long first, long last, std::vector<std::int64_t>* starts = nullptr) {
  image log;
  for (long n = first; n <= last; ++n) {
    if (starts != nullptr) starts->push_back(log.size());
    log.bytes += "[#" + std::to_string(n) + ":05.12.2026 14:05: Titel " + std::to_string(n) + "]\r\n";
    for (long line = 0; line < n % 4; ++line) {
      log.bytes += "Zeile " + std::string(static_cast<std::size_t>((n * 7 + line * 13) % 90), 'x') + " [#" +
                   std::to_string(n + 1000) + "\r\n";
    }
  }
  return log;
}

TEST(LogFormat, ParseHeader) {
  struct row {
    const char* name;
    const char* text;
    bool header;
    long number;
  } rows[] = {
      {"plain", "[#17:03.12.2026 14:05: Start]", true, 17},
      {"digit only", "[#5", true, 5},
      {"no digit", "[#:x]", false, 0},
      {"blank first", " [#5:", false, 0},
      {"single bracket", "[5:", false, 0},
      {"too short", "[#", false, 0},
      {"ten digits stop at nine", "[#1234567890:", true, 123456789},
  };
  for (const auto& r : rows) {
    long number = 0;
    EXPECT_EQ(tambre::log::parse_header(r.text, std::strlen(r.text), number), r.header) << r.name;
    if (r.header) {
      EXPECT_EQ(number, r.number) << r.name;
    }
  }
}

TEST(LogFormat, BlankControlsReplacesNineToThirteenOnly) {
  char text[] = "a\tb\nc\vd\fe\rf\x08g\x0eh";
  tambre::log::blank_controls(text);
  EXPECT_STREQ(text, "a b c d e f\x08g\x0eh");
}

TEST(LogFormat, LastHeaderOfTails) {
  struct row {
    const char* name;
    bool entries;  // the tail follows entries 1 to 40
    std::string tail;
    long expected;
  } rows[] = {
      {"whole entries", true, "", 40},
      {"header cut after its digit", true, "[#41", 41},
      {"header cut before its digit", true, "[#", 40},
      {"line cut without its line end", true, "Zeile ohne Ende", 40},
      {"binary garbage", true, std::string("\0\xff[#\x01\r\n\0", 8), 40},
      {"header inside a line", true, "Text [#77 mitten drin\r\n", 40},
      {"header without CR LF after a bare LF", true, "x\n[#41:", 41},
      {"empty file", false, "", 0},
      {"no header at all", false, std::string(3000, 'q') + "\r\n", 0},
  };
  for (auto& r : rows) {
    image log = r.entries ? make_log(1, 40) : image{};
    log.bytes += r.tail;
    EXPECT_EQ(tambre::log::last_header_number(log.reader(), log.size()), r.expected) << r.name;
  }
}

TEST(LogFormat, LastHeaderAcrossEveryBlockBoundary) {
  for (std::size_t pad = 500; pad < 530; ++pad) {
    image log;
    log.bytes = std::string(pad, 'y') + "\r\n[#123456:t: x]\r\n" + std::string(700, 'z');
    EXPECT_EQ(tambre::log::last_header_number(log.reader(), log.size()), 123456) << pad;
  }
}

TEST(LogFormat, FindsEveryHeaderAtItsRecordedPosition) {
  // Entries from 1 or from 7, a single one and none; no hints, right ones and wrong ones.
  for (const auto& [first, last] : {std::pair{1L, 700L}, std::pair{7L, 700L}, std::pair{3L, 3L}, std::pair{1L, 0L}}) {
    std::vector<std::int64_t> starts;
    image log = make_log(first, last, &starts);
    const std::pair<long, long> hints[] = {{0, 0}, {first, last}, {first + 600, last * 3}, {1, 2}};
    for (const auto& [first_hint, last_hint] : hints) {
      for (long n = first; n <= last; ++n) {
        ASSERT_EQ(tambre::log::find_header(log.reader(), log.size(), n, first_hint, last_hint),
                  starts[static_cast<std::size_t>(n - first)])
            << "first " << first << " entry " << n << " hints " << first_hint << ".." << last_hint;
      }
      EXPECT_EQ(tambre::log::find_header(log.reader(), log.size(), first - 1, first_hint, last_hint), -1) << first;
      EXPECT_EQ(tambre::log::find_header(log.reader(), log.size(), last + 1, first_hint, last_hint), -1) << first;
    }
  }
}

// The newest number from the file's tail alone, an entry in a few looks.
TEST(LogFormat, SearchesReadFarLessThanTheFile) {
  image log = make_log(1, 10000);
  std::int64_t counted = 0;
  EXPECT_EQ(tambre::log::last_header_number(log.reader(), log.size(), &counted), 10000);
  EXPECT_LT(log.read_total, 4096);
  EXPECT_EQ(counted, log.read_total);
  log.read_total = 0;
  EXPECT_GE(tambre::log::find_header(log.reader(), log.size(), 4321), 0);
  EXPECT_LT(log.read_total * 20, log.size());
  log.read_total = 0;
  EXPECT_GE(tambre::log::find_header(log.reader(), log.size(), 4321, 1, 10000), 0);
  EXPECT_LE(log.read_total, 4096) << "knowing the first and last numbers";
}

TEST(LogFormat, KeepPositionSkipsTheOldestEntries) {
  std::vector<std::int64_t> starts;
  image log = make_log(1, 16, &starts);
  EXPECT_EQ(tambre::log::keep_position(log.reader(), log.size(), 11), starts[11]);
  EXPECT_EQ(tambre::log::keep_position(log.reader(), log.size(), 0), starts[0]);
  EXPECT_EQ(tambre::log::keep_position(log.reader(), log.size(), 16), -1);
}

TEST(LogFormat, ReadEntriesStopsAfterTheLastRequestedAndCutsLongLines) {
  std::vector<std::int64_t> starts;
  image log = make_log(1, 6, &starts);
  std::vector<std::string> lines;
  auto add = [&](const char* line) { lines.push_back(line); };
  tambre::log::read_entries(log.reader(), log.size(), starts[1], 3, add);
  // Entry 2 has two lines, entry 3 three: headers included, CR kept.
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines.front(), "[#2:05.12.2026 14:05: Titel 2]\r");
  EXPECT_EQ(lines[3], "[#3:05.12.2026 14:05: Titel 3]\r");
  EXPECT_EQ(lines.back().back(), '\r');
  log.bytes = "[#1:t: x]\r\n" + std::string(2000, 'L') + "\r\n[#2:t: y]\r\n";
  lines.clear();
  tambre::log::read_entries(log.reader(), log.size(), 0, 1, add);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], std::string(512, 'L'));
}

}  // namespace
