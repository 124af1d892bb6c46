// Durations as days, hours, minutes, seconds and milliseconds: sample times and timeouts.
#include <cmath>
#include <cstdio>
#include <cstring>
#include "base/ascii.h"

#include "time/time_text.h"

namespace tambre::time {

void format_duration(char* out, int msmode, double seconds, const locale::locale_snapshot& locale) {
  const char separator = locale.time_separator[0];
  char* p = out;
  // Durations whose day count leaves 32 bits (and NaN) have no text of this form.
  if (!(std::fabs(seconds) < 2147483647.0 * 86400.0)) {
    std::snprintf(out, duration_text_size, "#NAN");
    return;
  }
  if (seconds < 0) {
    *p++ = '-';
    seconds = -seconds;
  }
  long long whole = static_cast<long long>(seconds);
  long long days = whole / 86400;
  int rest = static_cast<int>(whole % 86400);
  // A fraction that rounds to 1000 stays 1000: it is written, not carried into the seconds.
  // The fraction is never negative, so adding one half rounds it.
  int ms = static_cast<int>((seconds - std::floor(seconds)) * 1000.0 + 0.5);  // NOLINT(bugprone-incorrect-roundings)
  const std::size_t room = duration_text_size - static_cast<std::size_t>(p - out);
  int n;
  if (days != 0) {
    n = std::snprintf(p, room, "%lldd %02i%c%02i%c%02i", days, rest / 3600, separator, rest / 60 % 60, separator,
                      rest % 60);
  } else {
    n = std::snprintf(p, room, "%02i%c%02i%c%02i", rest / 3600, separator, rest / 60 % 60, separator, rest % 60);
  }
  bool with_ms = msmode == -1 ? ms != 0 : msmode != 0;
  if (with_ms && n > 0 && static_cast<std::size_t>(n) < room) std::snprintf(p + n, room - n, ".%03i", ms);
}

namespace {

// A decimal integer after optional blanks, as a double so that no length of digits
// overflows.
double read_integer(const char*& p) {
  while (*p == ' ') ++p;
  double value = 0;
  for (; base::is_digit(*p); ++p) value = value * 10 + (*p - '0');
  return value;
}

}  // namespace

double scan_duration(const char* text, const locale::locale_snapshot& locale) {
  if (text == nullptr || *text == '\0') return -1.0;
  char copy[scanned_text_length + 1] = {};
  std::strncpy(copy, text, scanned_text_length);
  // "1500ms" reads as 1500 seconds: the unit is dropped, not applied.
  for (char* c = copy; *c != '\0'; ++c) {
    if ((c[0] == 'm' || c[0] == 'M') && (c[1] == 's' || c[1] == 'S')) {
      *c = '\0';
      break;
    }
  }
  const char time_separator = locale.time_separator[0];
  const char date_separator = locale.date_separator[0];
  for (char* c = copy; *c != '\0'; ++c) {
    if (*c == ',') *c = '.';
    if (*c == 's') *c = ' ';
    bool allowed = base::is_digit(*c) || *c == time_separator || *c == date_separator || *c == 'd' || *c == '.' ||
                   *c == 'm' || *c == ' ';
    if (!allowed) return -1.0;
  }

  const char* p = copy;
  double months = 0, days = 0;
  if (const char* m = std::strchr(p, 'm')) {
    months = read_integer(p);
    p = m + 1;
  }
  if (const char* d = std::strchr(p, 'd')) {
    days = read_integer(p);
    p = d + 1;
  }

  // Up to three parts separated by the time separator, the last one being seconds.
  double parts[3] = {0, 0, 0};
  int count = 0;
  const char* dot = nullptr;
  for (;;) {
    double value = read_integer(p);
    if (count == 3) return -1.0;
    parts[count++] = value;
    while (*p != '\0' && *p != time_separator && *p != '.') ++p;
    if (*p == time_separator && time_separator != '.') {
      ++p;
      continue;
    }
    if (*p == '.') dot = p;
    break;
  }
  double hours = 0, minutes = 0, secs = parts[count - 1];
  if (count >= 2) minutes = parts[count - 2];
  if (count == 3) hours = parts[0];

  double ms = 0;
  if (dot != nullptr) {
    const char* q = dot + 1;
    int digits = 0;
    for (; base::is_digit(*q); ++q, ++digits) ms = ms * 10 + (*q - '0');
    if (digits == 1) ms *= 100;
    if (digits == 2) ms *= 10;
    if (std::strchr(q, '.') != nullptr) return 0.0;
  }
  return months * 31 * 86400 + days * 86400 + hours * 3600 + minutes * 60 + secs + ms / 1000;
}

}  // namespace tambre::time
