/* tmsmap: a time with milliseconds, one double of seconds since 1970-01-01 UTC; -1.0 is
   the invalid value. Adds calendar units in local time and floors to calendar units. */
#pragma once

#include "tambre32/api.h"

#ifdef __cplusplus

/* The 32-bit "long" of the interface (64 bits in a native LP64 build). */
#if defined(_WIN32)
typedef long tmsmap_long;
#else
typedef int tmsmap_long;
#endif

/* A time with milliseconds: one double of seconds since 1970 UTC, -1.0 meaning no time. */
class TAMBRE_API tmsmap {
 public:
  enum floormode {
    fm_second = 0,
    fm_hour = 1,
    fm_minute = 2,
    fm_day = 3,
    fm_week = 4,
    fm_month = 5,
    fm_quarter = 6,
    fm_year = 7,
    fm_isoyear = 8,
    fm_shift = 9,
    fm_4hours = 10
  };

  /* Leaves the value undefined; assign before use. */
  tmsmap() {}
  /* The value as it is: seconds since 1970 with milliseconds as fraction. */
  tmsmap(double v);
  /* -1 gives the invalid value; any other t is read as unsigned. */
  tmsmap(tmsmap_long t);
  tmsmap(tmsmap_long t, short ms);
  static double TAMBRE_FASTCALL conv(tmsmap_long t, short ms);

  /* Assignment and arithmetic on the seconds. */
  tmsmap& TAMBRE_FASTCALL operator=(const tmsmap& other);
  tmsmap& TAMBRE_FASTCALL operator=(double v);
  tmsmap TAMBRE_FASTCALL operator+(const tmsmap& other);
  tmsmap TAMBRE_FASTCALL operator-(const tmsmap& other);
  tmsmap TAMBRE_FASTCALL operator*(double d);
  /* Invalid when n is -1; otherwise n is read as unsigned. */
  tmsmap TAMBRE_FASTCALL operator*(tmsmap_long n);
  tmsmap TAMBRE_FASTCALL operator/(double d);
  /* The number of n-millisecond intervals in the value. */
  tmsmap TAMBRE_FASTCALL operator/(tmsmap_long n);

  /* The seconds since 1970 with milliseconds as fraction. */
  TAMBRE_FASTCALL operator double() const;
  /* Whole seconds as a time value; -1 for a negative value. */
  tmsmap_long TAMBRE_FASTCALL operator!() const;
  /* The milliseconds. */
  short TAMBRE_FASTCALL operator~() const;

  /* Comparisons to the millisecond. */
  bool TAMBRE_FASTCALL eq(const tmsmap& other) const;
  bool TAMBRE_FASTCALL ne(const tmsmap& other) const;
  bool TAMBRE_FASTCALL lt(const tmsmap& other) const;
  bool TAMBRE_FASTCALL gt(const tmsmap& other) const;

  /* Adds (subne: subtracts) calendar units on local wall-clock fields, keeping the time
     of day across daylight-saving changes and the milliseconds. False, value unchanged,
     when the value or the result is no valid time. */
  bool TAMBRE_FASTCALL addne(int days, int weeks, int months, int quarters, int years);
  bool TAMBRE_FASTCALL subne(int days, int weeks, int months, int quarters, int years);
  /* Floors the value to the start of a calendar unit; drops the milliseconds. */
  bool TAMBRE_FASTCALL floorne(floormode mode);
  /* Days of the local month holding time value t; -1 when t cannot be broken down. */
  int TAMBRE_FASTCALL daypermonth(tmsmap_long t);
  int TAMBRE_FASTCALL daypermonth();

 protected:
  /* The common step of addne and subne (negative counts subtract). */
  bool TAMBRE_FASTCALL subadd_nonequidist(int days, int weeks, int months, int quarters, int years);

 private:
  double value;
};

#endif
