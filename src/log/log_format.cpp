#include "log/log_format.h"
#include "base/ascii.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace tambre::log {

namespace {

// Reads a file forward line by line through a buffer of its own. A line is what lies
// before the next LF (the CR stays in it); the last line may lack its LF.
class line_reader {
 public:
  // The buffer starts at `first_block` bytes and doubles on every refill up to `block`:
  // a short look at a few lines reads little, a long walk reads in large blocks.
  line_reader(const read_at& read, std::int64_t file_size, std::int64_t position, std::size_t first_block,
              std::size_t block)
      : read_(read), size_(file_size), next_(position), buffer_(first_block), block_(block) {}

  // The next line, cut at `limit` characters (the rest of a longer line is skipped), and
  // the position it starts at; false at the end of the file or when a read fails.
  // With `more` false nothing is read: only a whole line already in the buffer is given.
  bool next(std::string& line, std::int64_t& start, std::size_t limit, bool more = true) {
    line.clear();
    start = position();
    bool any = false;
    for (;;) {
      if (pos_ == end_) {
        if (!more || !fill()) return any && more;
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
    if (end_ != 0 && buffer_.size() < block_) buffer_.resize(std::min(block_, buffer_.size() * 2));
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
  std::size_t block_;
  std::size_t pos_ = 0, end_ = 0;
};

}  // namespace

bool parse_header(const char* text, std::size_t size, long& number) {
  if (size < 3 || text[0] != '[' || text[1] != '#' || !base::is_digit(text[2])) return false;
  long value = 0;
  for (std::size_t i = 2; i < size && i < 11 && base::is_digit(text[i]); ++i) value = value * 10 + (text[i] - '0');
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

namespace {

// A header seen by the search: its number and where it starts.
struct sighting {
  long number;
  std::int64_t start;
};

// Where to look next for header `number` in [low, high]. Entries are written one after
// the other and are of similar length, so two sightings place it by proportion; the probe
// goes half an entry early, since the search takes the first header at or after it.
// Without a guess (`use_guess` false, or too little known), the middle.
std::int64_t next_probe(std::int64_t low, std::int64_t high, long number, const sighting (&seen)[2], int known,
                        bool use_guess) {
  const std::int64_t middle = low + (high - low) / 2;
  if (known < 2 || !use_guess || seen[0].number == seen[1].number) return middle;
  const double per_entry = static_cast<double>(seen[1].start - seen[0].start) /
                           (static_cast<double>(seen[1].number) - static_cast<double>(seen[0].number));
  if (!(per_entry > 0)) return middle;
  const double guess = static_cast<double>(seen[1].start) +
                       (static_cast<double>(number) - static_cast<double>(seen[1].number)) * per_entry - per_entry / 2;
  if (!(guess >= static_cast<double>(low))) return low;
  if (!(guess <= static_cast<double>(high))) return high;
  return static_cast<std::int64_t>(guess);
}

}  // namespace

std::int64_t find_header(const read_at& read, std::int64_t file_size, long number, long first_number,
                         long last_number) {
  std::int64_t low = 0, high = file_size - 1;
  std::string line;
  sighting seen[2] = {};
  int known = 0;
  if (first_number > 0 && last_number >= first_number && last_number < std::numeric_limits<long>::max()) {
    // The first entry starts the file; one past the last would start at its end.
    seen[0] = {first_number, 0};
    seen[1] = {last_number + 1, file_size};
    known = 2;
  }
  int misses = 0;
  while (low <= high) {
    const std::int64_t range = high - low;
    const std::int64_t middle = next_probe(low, high, number, seen, known, misses < 2);
    // Starting one byte early and dropping that first (partial) line leaves the reader at
    // the first line that starts at or after the middle.
    line_reader reader(read, file_size, middle > 0 ? middle - 1 : 0, 256, 4096);
    std::int64_t start = 0;
    bool skip = middle > 0, found = false;
    long header = 0;
    while (reader.next(line, start, 16)) {
      if (skip) {
        skip = false;
        continue;
      }
      if (parse_header(line.data(), line.size(), header)) {
        found = true;
        break;
      }
    }
    if (found && header == number) return start;
    if (!found || header > number) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
    if (found) {
      seen[0] = seen[1];
      seen[1] = {header, start};
      if (known < 2) ++known;
      // The next header, when it is already in the buffer, tells the length of an entry
      // here for free.
      std::int64_t next_start = 0;
      long next_header = 0;
      while (reader.next(line, next_start, 16, false)) {
        if (parse_header(line.data(), line.size(), next_header)) {
          if (next_header == number) return next_start;
          if (next_header > header) {
            seen[0] = seen[1];
            seen[1] = {next_header, next_start};
            if (known < 2) ++known;
          }
          break;
        }
      }
    }
    // Guesses go on while at least every other one halves the range, which keeps the
    // search logarithmic on any file.
    misses = high - low <= range / 2 ? 0 : misses + 1;
  }
  return -1;
}

std::int64_t keep_position(const read_at& read, std::int64_t file_size, long drop) {
  line_reader reader(read, file_size, 0, 16384, 16384);
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
  line_reader reader(read, file_size, start, 1024, 16384);
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
