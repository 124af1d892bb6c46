#pragma once
// The seam between the portable core and the platform. The core reaches the platform only
// through these functions; platform_win32.cpp implements them with Win32 calls and
// platform_posix.cpp for the native build.

#include <cstddef>

namespace tambre::sys {

// 256 entries: each character lowered the way the user's locale lowers it (CharLowerA
// on Windows, ASCII in the native build). Built once, never changes.
const unsigned char* lower_table();
// The platform's part of it: fills `table` with the lowered form of each character.
void fill_lower_table(unsigned char (&table)[256]);

inline unsigned char lower_char(char c) { return lower_table()[static_cast<unsigned char>(c)]; }

// Copies string `id` of the library's string table into `buffer` (cut to size - 1
// characters, always terminated) and returns its length; 0 and an empty buffer when the
// table has no such string.
std::size_t load_library_string(unsigned id, char* buffer, std::size_t size);

// Converts a zero-terminated text from the system ANSI code page to UTF-8, or back. The
// output holds at most `size` bytes and is terminated whenever size > 0; a text that does
// not fit is cut after its last whole character. True when the whole text with its
// terminator fit. The output may be the input buffer.
bool ansi_to_utf8(const char* in, char* out, std::size_t size);
bool utf8_to_ansi(const char* in, char* out, std::size_t size);

// The clipboard format id registered for `name`; the same name always gives the same id.
unsigned register_clipboard_format(const char* name);

}  // namespace tambre::sys

// ---- Time and zone --------------------------------------------------------------------

#include <cstdint>

#include "base/seam.h"

namespace tambre::sys {

// A transition date of the zone record, laid out like the platform's SYSTEMTIME.
// year 0: weekday form (day = occurrence 1-5 of day_of_week, 5 = last); otherwise the
// absolute form (day = day of the month, applied to any year). month 0: no transition.
struct zone_date {
  std::uint16_t year, month, day_of_week, day, hour, minute, second, milliseconds;
};

// The platform's time-zone record. Biases in minutes, UTC = local + bias.
struct zone_record {
  std::int32_t bias;
  char16_t standard_name[32];
  zone_date standard_date;
  std::int32_t standard_bias;
  char16_t daylight_name[32];
  zone_date daylight_date;
  std::int32_t daylight_bias;
};

// Result of a zone query: the record and the platform's indicator (0 unknown, 1 standard
// time, 2 daylight time in effect now, 0xFFFFFFFF the query failed).
constexpr std::uint32_t zone_query_failed = 0xFFFFFFFFu;
constexpr std::uint32_t zone_daylight_now = 2;
struct zone_query {
  std::uint32_t status;
  zone_record record;
};

// A wall-clock reading, month 1-12.
struct wall_clock {
  int year, month, day, hour, minute, second, milliseconds;
};

// Everything the calendar core asks of the platform. The platform's own source is the
// default; tests install another one (a fixed zone record, fixed clocks, a given TZ).
class time_source {
 public:
  virtual ~time_source() = default;
  virtual zone_query query_zone() = 0;
  virtual wall_clock local_clock() = 0;
  virtual wall_clock utc_clock() = 0;
  // UTC as 100-nanosecond units since 1601-01-01.
  virtual std::uint64_t utc_file_time() = 0;
  // The TZ variable: false when it is not set.
  virtual bool tz_variable(char* buffer, std::size_t size) = 0;
};

time_source& platform_time_source();
// Where the calendar core reads the time: the platform's source unless a stand-in is there.
base::seam<time_source>& time_seam();
inline time_source& current_time_source() { return time_seam().get(); }

}  // namespace tambre::sys

// ---- Locale items ---------------------------------------------------------------------

namespace tambre::sys {

enum class locale_item { date_separator, time_separator, decimal_separator, thousands_separator, short_date };

// Reads an item of the user's default locale into buffer (terminated). Returns the
// number of characters written including the terminator, 0 when the item cannot be read
// or does not fit, like the platform's locale query.
int read_locale_item(locale_item item, char* buffer, int size);

}  // namespace tambre::sys

// ---- Files ----------------------------------------------------------------------------

namespace tambre::sys {

// The last-write time of the file `path` names, in UTC as 100-nanosecond units since
// 1601-01-01 (negative before then). False when no file matches.
bool file_write_time(const char* path, std::int64_t& units);

}  // namespace tambre::sys

// ---- Shared data files ----------------------------------------------------------------

#include <cstdio>

namespace tambre::sys {

// Opens `path` for reading and writing in binary mode, shared for reading and writing by
// other handles and processes; `create` makes a new empty file instead. Null on failure.
std::FILE* open_shared_file(const char* path, bool create);
// 64-bit positioning of a stream; false on failure.
bool seek_file(std::FILE* file, std::int64_t offset, int origin);
std::int64_t file_position(std::FILE* file);
// One writer's turn among all writers of a shared file, in every process, held while the
// object lives (a lock on one byte far past any end of the file on Windows, the file's
// advisory lock elsewhere). Not to be nested on one stream. Empty when it was not taken.
class file_turn {
 public:
  explicit file_turn(std::FILE* file);
  ~file_turn();
  file_turn(const file_turn&) = delete;
  file_turn& operator=(const file_turn&) = delete;
  explicit operator bool() const { return taken_; }

 private:
  std::FILE* file_;
  bool taken_;
};
// Writes the block at the current end of the file in one system call; called in a turn,
// so that no other writer's block can land inside it. The stream is left positioned at
// the new end. `data` must start a line: when the file's last byte is not a line feed (a
// writer died mid-line), a CR LF goes first.
bool append_block(std::FILE* file, const char* data, std::size_t size);
// Reads up to `size` bytes at `offset` (after flushing the stream's pending writes), in
// one system call where the platform has a positional read; the number read, 0 at the end
// or on failure. The stream's position afterwards is unspecified: seek before using it.
std::size_t read_file_at(std::FILE* file, std::int64_t offset, char* buffer, std::size_t size);
// Cuts the file (after flushing the stream) to `size` bytes.
bool truncate_file(std::FILE* file, std::int64_t size);

// The full path of a loaded module's file (terminated, cut to size - 1); false when the
// platform has no such module.
bool module_file_name(void* module, char* buffer, std::size_t size);
// Copies string `id` of `module`'s string table into `buffer` like load_library_string.
std::size_t load_module_string(void* module, unsigned id, char* buffer, std::size_t size);

}  // namespace tambre::sys
