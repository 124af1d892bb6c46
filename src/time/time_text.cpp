// Time stamps in the user's date order, written and read back.
#include "time/time_text.h"
#include "base/ascii.h"
#include "base/file_time_epoch.h"
#include "string_ids.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "sys/platform.h"
#include "time/local_time.h"

namespace tambre::time {

namespace {

constexpr unsigned date_bits = tf_day | tf_month | tf_year;
constexpr unsigned time_bits = tf_milliseconds | tf_seconds | tf_minutes | tf_hours;

// Appends to a text whose capacity is time_text_size. Stamps are written often: numbers
// and separators go straight into the output, without any length count of their parts.
class time_text_writer {
 public:
  explicit time_text_writer(char* out) : out_(out) { out_[0] = '\0'; }
  // "%0*i" of a value. Fields of a stamp have their width and room: written in place.
  void number(int value, int digits) {
    static constexpr int limits[5] = {1, 10, 100, 1000, 10000};
    if (digits >= 1 && digits <= 4 && value >= 0 && value < limits[digits] &&
        static_cast<std::size_t>(digits) <= time_text_size - 1 - length_) {
      char* q = out_ + length_ + digits;
      unsigned magnitude = static_cast<unsigned>(value);
      for (int i = 0; i < digits; ++i) {
        *--q = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
      }
      length_ += static_cast<std::size_t>(digits);
      out_[length_] = '\0';
      return;
    }
    char part[16];
    char* const end = part + sizeof part;
    char* p = end;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
      *--p = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    const int width = value < 0 ? digits - 1 : digits;
    while (end - p < width) *--p = '0';
    if (value < 0) *--p = '-';
    append(p, static_cast<std::size_t>(end - p));
  }
  // A terminator (an empty separator) writes nothing.
  void character(char c) {
    if (c != '\0') append(&c, 1);
  }
  void text(const char* part) { append(part, std::strlen(part)); }

 private:
  void append(const char* part, std::size_t n) {
    if (n > time_text_size - 1 - length_) n = time_text_size - 1 - length_;
    for (std::size_t i = 0; i < n; ++i) out_[length_ + i] = part[i];
    length_ += n;
    out_[length_] = '\0';
  }

  char* out_;
  std::size_t length_ = 0;
};

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// One number of a date or time word. Digits beyond the int range saturate: any such
// number is out of every part's range.
struct part_reading {
  int value = 0;
  bool has_digits = false;
  bool letter_follows = false;
};

part_reading read_part(const char*& p) {
  part_reading r;
  long long value = 0;
  while (base::is_digit(*p)) {
    if (value < 1000000000) value = value * 10 + (*p - '0');
    r.has_digits = true;
    ++p;
  }
  r.value = static_cast<int>(value);
  r.letter_follows = is_letter(*p);
  return r;
}

struct part_range {
  int low, high;
};

// Reads up to three parts of `word` separated by `separator` (or a blank) into values[];
// parts that are missing keep their values. False when strict and a part is invalid or
// anything but digits and blanks follows the last part read.
bool read_parts(const char* word, char separator, const part_range (&ranges)[3], int (&values)[3], bool strict) {
  const char* p = word;
  for (int i = 0; i < 3 && *p != '\0'; ++i) {
    part_reading r = read_part(p);
    bool valid = r.has_digits && !r.letter_follows && r.value >= ranges[i].low && r.value <= ranges[i].high;
    if (strict && !valid) return false;
    values[i] = r.value;
    // The separator after the third part is trailing text.
    if (i == 2 || (*p != separator && !base::is_space(*p))) break;
    ++p;
  }
  if (strict) {
    for (; *p != '\0'; ++p) {
      if (!base::is_digit(*p) && !base::is_space(*p)) return false;
    }
  }
  return true;
}

}  // namespace

void format_time(char* out, time_value t, int milliseconds, unsigned flags, const locale::locale_snapshot& locale) {
  time_text_writer w(out);
  if ((flags & tf_now) != 0) t = current_time();
  if (t == no_time) {
    char text[time_text_size];
    sys::load_library_string(IDS_NO_TIME_VALUE, text, sizeof text);
    w.text(text);
    return;
  }
  std::tm f;
  if (!local_fields(t, f)) return;
  if ((flags & tf_weekday) != 0) {
    // Two letters, so the longest stamp keeps its length whatever the table holds.
    char name[3];
    sys::load_library_string(IDS_WEEKDAY_SUNDAY + static_cast<unsigned>(f.tm_wday), name, sizeof name);
    w.text(name);
    w.character(' ');
  }
  for (int position = 0; position < 3; ++position) {
    bool written = true;
    switch (locale.date_order[position]) {
      case 'D':
        if ((written = (flags & tf_day) != 0)) w.number(f.tm_mday, 2);
        break;
      case 'M':
        if ((written = (flags & tf_month) != 0)) w.number(f.tm_mon + 1, 2);
        break;
      case 'Y':
        if ((written = (flags & tf_year) != 0)) w.number(f.tm_year + 1900, 4);
        break;
      default:
        written = false;
        break;
    }
    if (written && position < 2) w.character(locale.date_separator[0]);
  }
  if ((flags & date_bits) != 0 && (flags & time_bits) != 0) w.character(' ');
  if ((flags & tf_hours) != 0) {
    w.number(f.tm_hour, 2);
    w.character(locale.time_separator[0]);
  }
  if ((flags & tf_minutes) != 0) {
    w.number(f.tm_min, 2);
    if ((flags & tf_seconds) == 0) return;
    w.character(locale.time_separator[0]);
  }
  if ((flags & tf_seconds) != 0) {
    w.number(f.tm_sec, 2);
    if ((flags & tf_milliseconds) == 0) return;
    w.character('.');
  }
  // Negative milliseconds are written by their magnitude: three digits keep the stamp
  // within its 26 characters.
  if ((flags & tf_milliseconds) != 0) w.number((milliseconds < 0 ? -milliseconds : milliseconds) % 1000, 3);
}

time_value scan_time(const char* text, bool strict, const locale::locale_snapshot& locale) {
  char copy[scanned_text_length + 1] = {};
  if (text != nullptr) std::strncpy(copy, text, scanned_text_length);
  time_value relative = scan_relative_time(copy);
  if (relative != no_time) return relative;

  time_value now = current_time();
  std::tm f;
  if (now == no_time || !local_fields(now, f)) return no_time;
  f.tm_hour = f.tm_min = f.tm_sec = 0;

  // The first two words; in strict reading a third may hold only digits and blanks.
  char* words[2] = {nullptr, nullptr};
  int count = 0;
  char* p = copy;
  while (count < 2) {
    while (base::is_space(*p)) ++p;
    if (*p == '\0') break;
    words[count++] = p;
    while (*p != '\0' && !base::is_space(*p)) ++p;
    if (*p != '\0') *p++ = '\0';
  }
  if (strict) {
    for (; *p != '\0'; ++p) {
      if (!base::is_digit(*p) && !base::is_space(*p)) return no_time;
    }
  }
  if (count == 0) return strict ? no_time : now;

  const char* date_word = nullptr;
  const char* time_word = nullptr;
  if (count == 2 || std::strchr(words[0], locale.date_separator[0]) != nullptr) {
    date_word = words[0];
    time_word = count == 2 ? words[1] : nullptr;
  } else {
    time_word = words[0];
  }

  if (date_word != nullptr) {
    int values[3];
    part_range ranges[3];
    for (int i = 0; i < 3; ++i) {
      switch (locale.date_order[i]) {
        case 'D':
          values[i] = f.tm_mday;
          ranges[i] = {1, 31};
          break;
        case 'M':
          values[i] = f.tm_mon + 1;
          ranges[i] = {1, 12};
          break;
        default:
          values[i] = f.tm_year + 1900;
          ranges[i] = {0, i < 2 ? 2500 : 2100};
          break;
      }
    }
    if (!read_parts(date_word, locale.date_separator[0], ranges, values, strict)) return no_time;
    for (int i = 0; i < 3; ++i) {
      switch (locale.date_order[i]) {
        case 'D':
          f.tm_mday = values[i];
          break;
        case 'M':
          f.tm_mon = values[i] - 1;
          break;
        default: {
          // Two-digit years: 00-69 are 2000-2069, 70-99 are 1970-1999.
          int year = values[i];
          if (year < 70) {
            year += 2000;
          } else if (year < 100) {
            year += 1900;
          }
          f.tm_year = year - 1900;
          break;
        }
      }
    }
  }
  if (time_word != nullptr) {
    int values[3] = {0, 0, 0};
    const part_range ranges[3] = {{0, 23}, {0, 59}, {0, 59}};
    if (!read_parts(time_word, locale.time_separator[0], ranges, values, strict)) return no_time;
    f.tm_hour = values[0];
    f.tm_min = values[1];
    f.tm_sec = values[2];
  }
  f.tm_wday = f.tm_yday = f.tm_isdst = -1;
  return make_local(f);
}

time_value time_of_file_units(std::int64_t units) {
  if (units < base::file_time_units_1601_to_1970) return no_time;
  std::int64_t seconds = (units - base::file_time_units_1601_to_1970) / base::file_time_units_per_second;
  return seconds <= static_cast<std::int64_t>(last_time) ? static_cast<time_value>(seconds) : no_time;
}

}  // namespace tambre::time
