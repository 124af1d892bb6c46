#pragma once
// What the log tests share: reading a StringList back, and checking that a file written by
// several writers at once holds only whole entries.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "tambre32/logfile.h"
#include "tambre32/stringlist.h"

namespace log_test {

// A log on the file at `path`.
struct named_log : LogFile {
  explicit named_log(const std::string& path) { SetFileName(path.c_str()); }
};

inline std::vector<std::string> lines_of(StringList& list) {
  std::vector<std::string> lines;
  StringList::Entry* entry = nullptr;
  for (char* text = list.NextString(entry); text != nullptr; text = list.NextString(entry)) lines.push_back(text);
  return lines;
}

// The header lines of a list, as entry numbers.
inline std::vector<long> headers_of(StringList& list) {
  std::vector<long> numbers;
  for (const auto& line : lines_of(list)) {
    if (line.size() > 2 && line.rfind("[#", 0) == 0 && std::isdigit(static_cast<unsigned char>(line[2]))) {
      numbers.push_back(std::stol(line.substr(2)));
    }
  }
  return numbers;
}

// The entry numbers GetItems gives for first..last; empty when it fails.
inline std::vector<long> entries_of(LogFile& log, long first = -1, long last = -1) {
  StringList list;
  return log.GetItems(list, first, last) ? headers_of(list) : std::vector<long>{};
}

inline std::vector<long> range(long first, long last) {
  std::vector<long> numbers;
  for (long n = first; n <= last; ++n) numbers.push_back(n);
  return numbers;
}

// The number of entries in `bytes` when every entry is whole: a header "[#n:time: <tag>]"
// followed by exactly `lines` lines "<tag> L<i><suffix>", every line ending in CR LF.
// -1 (and a test failure naming the line) when an entry was cut or mixed with another.
inline int whole_entries(const std::string& bytes, int lines, const std::string& suffix) {
  std::istringstream in(bytes);
  std::string line, tag;
  int next = lines, headers = 0;
  while (std::getline(in, line)) {
    const bool crlf = !line.empty() && line.back() == '\r';
    if (crlf) line.pop_back();
    const bool header = line.rfind("[#", 0) == 0;
    if (!crlf || (header && next != lines) || (!header && line != tag + " L" + std::to_string(next) + suffix)) {
      ADD_FAILURE() << "entry of " << tag << " broken at: " << line;
      return -1;
    }
    if (header) {
      tag = line.substr(line.rfind(": ") + 2);
      tag.pop_back();  // ']'
      next = 0;
      ++headers;
    } else {
      ++next;
    }
  }
  return headers;
}

}  // namespace log_test
