#include "log/log_format.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tambre::log {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads a file forward line by line through a buffer of its own. A line is what lies
// before the next LF (the CR stays in it); the last line may lack its LF.
class line_reader {
 public:
  line_reader(const read_at& read, std::int64_t file_size, std::int64_t position, std::size_t block)
      : read_(read), size_(file_size), next_(position), buffer_(block) {}

  // The next line, cut at `limit` characters (the rest of a longer line is skipped), and
  // the position it starts at; false at the end of the file or when a read fails.
  bool next(std::string& line, std::int64_t& start, std::size_t limit) {
    line.clear();
    start = position();
    bool any = false;
    for (;;) {
      if (pos_ == end_) {
        if (!fill()) return any;
      }
      any = true;
      const char* from = buffer_.data() + pos_;
      const char* last = buffer_.data() + end_;
      const char* lf = std::find(from, last, '\n');
      std::size_t take = static_cast<std::size_t>(lf - from);
      if (line.size() < limit) line.append(from, std::min(take, limit - line.size()));
      pos_ += take;
      if (lf != last) {
        ++pos_;
        return true;
      }
    }
  }

 private:
  std::int64_t position() const { return next_ - static_cast<std::int64_t>(end_ - pos_); }
  bool fill() {
    if (next_ >= size_) return false;
    std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(size_ - next_, buffer_.size()));
    std::size_t got = read_(next_, buffer_.data(), want);
    if (got == 0) return false;
    next_ += static_cast<std::int64_t>(got);
    pos_ = 0;
    end_ = got;
    return true;
  }

  const read_at& read_;
  std::int64_t size_;
  std::int64_t next_;  // file position of the byte after the buffered ones
  std::vector<char> buffer_;
  std::size_t pos_ = 0, end_ = 0;
};

}  // namespace

bool parse_header(const char* text, std::size_t size, long& number) {
  if (size < 3 || text[0] != '[' || text[1] != '#' || !is_digit(text[2])) return false;
  long value = 0;
  for (std::size_t i = 2; i < size && i < 11 && is_digit(text[i]); ++i) value = value * 10 + (text[i] - '0');
  number = value;
  return true;
}

void blank_controls(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 9 && *text <= 13) *text = ' ';
  }
}

long last_header_number(const read_at& read, std::int64_t file_size, std::int64_t* bytes_read) {
  constexpr std::int64_t block = 512;
  constexpr std::int64_t tail = 12;  // "[#" and up to nine digits, plus one to spare
  std::vector<char> buffer(static_cast<std::size_t>(block + tail + 1));
  std::int64_t total = 0;
  for (std::int64_t hi = file_size; hi > 0;) {
    std::int64_t lo = std::max<std::int64_t>(0, hi - block);
    // One byte before the block tells whether its first byte starts a line; the bytes
    // after it complete a header that begins near its end.
    std::int64_t from = lo > 0 ? lo - 1 : 0;
    std::int64_t to = std::min(file_size, hi + tail);
    std::size_t got = read(from, buffer.data(), static_cast<std::size_t>(to - from));
    total += static_cast<std::int64_t>(got);
    if (got < static_cast<std::size_t>(hi - from)) break;  // a failed read ends the scan
    for (std::int64_t p = hi - 1; p >= lo; --p) {
      std::size_t i = static_cast<std::size_t>(p - from);
      if (p > 0 && buffer[i - 1] != '\n') continue;
      long number = 0;
      if (parse_header(buffer.data() + i, got - i, number)) {
        if (bytes_read != nullptr) *bytes_read = total;
        return number;
      }
    }
    hi = lo;
  }
  if (bytes_read != nullptr) *bytes_read = total;
  return 0;
}

std::int64_t find_header(const read_at& read, std::int64_t file_size, long number) {
  std::int64_t low = 0, high = file_size - 1;
  std::string line;
  while (low <= high) {
    std::int64_t middle = low + (high - low) / 2;
    // Starting one byte early and dropping that first (partial) line leaves the reader at
    // the first line that starts at or after the middle.
    line_reader reader(read, file_size, middle > 0 ? middle - 1 : 0, 256);
    std::int64_t start = 0;
    bool skip = middle > 0, found = false;
    long seen = 0;
    while (reader.next(line, start, 16)) {
      if (skip) {
        skip = false;
        continue;
      }
      if (parse_header(line.data(), line.size(), seen)) {
        found = true;
        break;
      }
    }
    if (!found || seen > number) {
      high = middle - 1;
    } else if (seen == number) {
      return start;
    } else {
      low = middle + 1;
    }
  }
  return -1;
}

std::int64_t keep_position(const read_at& read, std::int64_t file_size, long drop) {
  line_reader reader(read, file_size, 0, 16384);
  std::string line;
  std::int64_t start = 0;
  long left = drop;
  long number = 0;
  while (reader.next(line, start, 16)) {
    if (parse_header(line.data(), line.size(), number) && --left < 0) return start;
  }
  return -1;
}

void read_entries(const read_at& read, std::int64_t file_size, std::int64_t start, long last,
                  const std::function<void(const char* line)>& line) {
  line_reader reader(read, file_size, start, 16384);
  std::string text;
  std::int64_t at = 0;
  long number = 0;
  // The CR of the line end is kept (it becomes a trailing blank in the caller's list).
  while (reader.next(text, at, max_line + 1)) {
    if (parse_header(text.data(), text.size(), number) && number > last) return;
    line(text.c_str());
  }
}

}  // namespace tambre::log
