#pragma once
// A journal file read back as a plain text file, independently of LogFile: its entries
// with number, time text, title and lines. `parsed` is false when a line before the first
// header, a line without CR LF, or a gap in the numbering was found.
#include <string>
#include <vector>

namespace tambre::test {

struct journal_entry {
  long number = 0;
  std::string time;
  std::string title;
  std::vector<std::string> lines;
};

struct journal {
  bool parsed = false;
  std::vector<journal_entry> entries;
  int count(const std::string& title) const;
};

journal read_journal(const std::string& path);

}  // namespace tambre::test
