#pragma once
// Local time, the current time and the millisecond clock on the process's zone state.

#include <cstdint>
#include <ctime>

#include "time/calendar.h"

namespace tambre::time {

// Breaks t down into local time; false above last_time or past the range end.
bool local_fields(time_value t, std::tm& out);
// Broken-down local time to time value, normalising `fields`; no_time on failure.
time_value make_local(std::tm& fields);
// The current time from the local wall clock and the zone state; no_time when the
// clock's year lies outside 1970-2099.
time_value current_time();
// Forgets the daylight-saving indicator of the last minute; for tests that change clocks.
void forget_minute_cache();

// The platform's millisecond clock record.
struct timeb_record {
  std::uint32_t time;
  std::uint16_t millitm;
  std::int16_t timezone;
  std::int16_t dstflag;
};
void millisecond_clock(timeb_record& out);

// The calling thread's result buffer of gmtime and localtime.
std::tm& thread_result();
// The process-wide text buffer of asctime and ctime (26 characters).
char* text_result();

}  // namespace tambre::time
