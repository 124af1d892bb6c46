#pragma once
// The log file's on-disk format and the searches over it. Everything here reads the file
// through a positional read callback, so the same code walks a real file, an image in
// memory (tests, fuzzing) or anything else that can be read at an offset.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tambre::log {

// The bytes of one entry's header line, after it the entry's own lines; every line ends
// with CR LF.
constexpr const char* header_format = "[#%li:%s: %s]";
constexpr std::size_t max_line = 511;

// Reads up to `size` bytes at `offset` into `buffer`; the number read, 0 at the end or on
// failure.
using read_at = std::function<std::size_t(std::int64_t offset, char* buffer, std::size_t size)>;

// True when `text` (of `size` bytes) begins with "[#" and a decimal digit; `number` then
// holds the digits that follow (at most nine, which covers every number the log writes).
bool parse_header(const char* text, std::size_t size, long& number);

// Replaces characters 9 to 13 (tab, line breaks, vertical tab, form feed) by blanks.
void blank_controls(char* text);

// The number of the newest header in the file, read backwards from its end in small
// blocks; 0 when there is none. `bytes_read` (optional) counts what the scan read.
// A header counts only at the start of a line, so "[#5" inside an entry's text never
// passes for one.
long last_header_number(const read_at& read, std::int64_t file_size, std::int64_t* bytes_read = nullptr);

// The start of header `number`, found by a search over byte positions that relies on the
// numbers rising through the file; -1 when there is no such header. The numbers of the
// first and the last entry, when the caller knows them (both above 0), let the first look
// go where the entry should lie; wrong ones cost only further looks.
std::int64_t find_header(const read_at& read, std::int64_t file_size, long number, long first_number = 0,
                         long last_number = 0);

// The start of the header after skipping `drop` headers from the start of the file: where
// the part to keep begins when the oldest `drop` entries go. -1 when the file ends first.
std::int64_t keep_position(const read_at& read, std::int64_t file_size, long drop);

// Calls `line` for every line from `start` on (each without its line end, cut at
// `max_line` characters) until the end of the file or until the header of an entry above
// `last`.
void read_entries(const read_at& read, std::int64_t file_size, std::int64_t start, long last,
                  const std::function<void(const char* line)>& line);

}  // namespace tambre::log
