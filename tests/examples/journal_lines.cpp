#include "journal_lines.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace tambre::test {

int journal::count(const std::string& title) const {
  int n = 0;
  for (const auto& e : entries) n += e.title == title ? 1 : 0;
  return n;
}

journal read_journal(const std::string& path) {
  journal result;
  std::ifstream file(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (text.empty() || text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return result;
  static const std::regex header(R"(^\[#(\d+):(.+?): (.*)\]$)");
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end - at);
    at = end + 2;
    if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) return result;
    std::smatch match;
    if (std::regex_match(line, match, header)) {
      journal_entry entry;
      entry.number = std::stol(match[1].str());
      entry.time = match[2].str();
      entry.title = match[3].str();
      if (!result.entries.empty() && entry.number != result.entries.back().number + 1) return result;
      result.entries.push_back(entry);
    } else if (result.entries.empty()) {
      return result;
    } else {
      result.entries.back().lines.push_back(line);
    }
  }
  result.parsed = true;
  return result;
}

}  // namespace tambre::test
