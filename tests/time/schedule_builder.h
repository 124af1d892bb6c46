#pragma once
// A schedule record with the given fields, the rest as init() leaves them.
#include "tambre32/schedule.h"

namespace tambre::test {

inline tambre32::timespec schedule_record(int kind, int minute = 0, int hour = 0, int day = 0, int weekday = 0,
                                          int month = 0, int year = 0, int length = 0) {
  tambre32::timespec r;
  r.init();
  r.kind = kind;
  r.minute = static_cast<short>(minute);
  r.hour = static_cast<short>(hour);
  r.day = static_cast<short>(day);
  r.weekday = static_cast<short>(weekday);
  r.month = static_cast<short>(month);
  r.year = static_cast<short>(year);
  r.length = length;
  return r;
}

}  // namespace tambre::test
