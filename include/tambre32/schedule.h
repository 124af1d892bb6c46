/* timespec: a packed schedule record, owned by the caller. It says when an action is due:
   once at a date and time (kind 0), or periodically (every minute, hour, day, week,
   month, quarter, year, or a user-defined period) at an offset within the period.
   Matching works on local time at minute resolution.

   The class lives in namespace tambre32: the C library's <time.h> declares a global
   struct timespec of its own. */
#pragma once

#include "tambre32/api.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#ifdef __cplusplus

namespace tambre32 {

/* The 32-bit "long" of the interface (64 bits in a native LP64 build). */
#if defined(_WIN32)
typedef long timespec_long;
#else
typedef int timespec_long;
#endif

/* Schedule kinds. */
enum timespec_kind {
  timespec_once = 0,
  timespec_minutely = 1,
  timespec_hourly = 2,
  timespec_daily = 3,
  timespec_weekly = 4,
  timespec_monthly = 5,
  timespec_quarterly = 6,
  timespec_yearly = 7,
  timespec_user_defined = 99
};

/* Longest text of tostr with its terminator: kinds 0-7 stay within 19 characters, kind 99
   within 31; fields out of range are cut to these lengths. */
#define TIMESPEC_TEXT_SIZE 32

#pragma pack(push, 1)
/* A schedule owned by the caller: when an action is due (periodically by kind, or once),
   matched against a time once per cycle, shown as text and edited in its dialog. */
class TAMBRE_API timespec {
 public:
  /* A plain record: the fields stay undefined until init, setup or an assignment. */
  timespec() = default;
  timespec(const timespec& other) = default;
  timespec& operator=(const timespec& other);
  /* Every field 0. */
  void init();
  /* Kinds 1-7 get their fixed lengths; kind 99 keeps a positive length; everything else
     becomes kind 0 with length 0. */
  void recalc();
  /* The German text form (recalc first) into buffer, which must hold TIMESPEC_TEXT_SIZE
     characters; returns buffer. */
  char* tostr(char* buffer);
  /* -1, 0, 1: periodic kinds in kind order before once-records, then by length, then by
     the weighted sum of the due point. */
  int compare(const timespec& other) const;
  /* True when the schedule is due at time value t, with offset seconds added before the
     breakdown into local time (rounded down to the minute). */
  bool match(timespec_long t, int offset);
#if defined(_WIN32)
  /* The modal dialog "Zeitperiode einstellen" on this record: 1 OK, 2 Cancel, the dialog
     call's failure result otherwise. One dialog at a time per process. */
  int setup(HWND parent);
#endif

  int kind;
  short reserved; /* 0 after init, copied, never read */
  short minute;   /* 0-59 */
  short hour;     /* 0-23 */
  short day;      /* day of the month minus one; kind 99: whole days of the offset */
  short weekday;  /* 0 = Sunday; weekly kind only */
  short month;    /* 0-11; quarterly kind: month within the quarter, 0-2 */
  short year;     /* years since 1900; once kind only */
  int length;     /* period length in seconds */
};
#pragma pack(pop)

}  // namespace tambre32

#endif
