#pragma once
// Time text: time stamps in the user's date order, relative expressions (DAY-1D),
// durations (1d 02:00:00.5) and a file's write time. Each takes the locale it follows
// as a value; the exported functions pass the snapshot taken at load.

#include <cstddef>
#include <cstdint>

#include "locale/locale_snapshot.h"
#include "time/calendar.h"

namespace tambre::time {

// Field bits of a time stamp.
enum time_fields : unsigned {
  tf_milliseconds = 0x0001,
  tf_seconds = 0x0002,
  tf_minutes = 0x0004,
  tf_hours = 0x0008,
  tf_day = 0x0010,
  tf_month = 0x0020,
  tf_year = 0x0040,
  tf_weekday = 0x0080,
  tf_now = 0x0100,
};

// The longest time stamp (weekday, date, time with milliseconds) and its terminator.
constexpr std::size_t time_text_size = 27;
// Texts read by the scanners are cut to this many characters.
constexpr std::size_t scanned_text_length = 79;

// Writes the fields `flags` selects of t (or of the current time with tf_now) into
// out[time_text_size]: "kein Wert" for no time, empty when t cannot be broken down.
void format_time(char* out, time_value t, int milliseconds, unsigned flags, const locale::locale_snapshot& locale);

// A relative expression (NOW, DAY-1D, MONTH+1MO-1D ...) against the current time;
// no_time when the text is none.
time_value scan_relative_time(const char* text);

// A relative expression, or a date and/or time in the locale's order and separators,
// completed from today; no_time on failure.
time_value scan_time(const char* text, bool strict, const locale::locale_snapshot& locale);

// The longest duration text (2^31 days, sign and 1000 ms) and its terminator; below
// 100,000 days the text has at most 21 characters.
constexpr std::size_t duration_text_size = 27;
// A duration in seconds as [-][Nd ]hh:mm:ss[.mmm]; msmode -1 writes milliseconds when
// there are any, 0 never, anything else always.
void format_duration(char* out, int msmode, double seconds, const locale::locale_snapshot& locale);
// A duration written by format_duration or typed as "10s", "1:30", "2m", "1500ms";
// -1.0 when it cannot be read.
double scan_duration(const char* text, const locale::locale_snapshot& locale);

// A file's write time from its count of 100-nanosecond units since 1601 (UTC); no_time
// before 1970 or after 2099.
time_value time_of_file_units(std::int64_t units);

}  // namespace tambre::time
