// The schedule record: layout, normalisation, text form and ordering.
#include "tambre32/schedule.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "sys/platform.h"

// The record is stored in drivers' configurations: its layout is fixed.
static_assert(sizeof(tambre32::timespec) == 22, "tambre32::timespec is 22 bytes");
static_assert(offsetof(tambre32::timespec, kind) == 0, "kind");
static_assert(offsetof(tambre32::timespec, reserved) == 4, "reserved");
static_assert(offsetof(tambre32::timespec, minute) == 6, "minute");
static_assert(offsetof(tambre32::timespec, hour) == 8, "hour");
static_assert(offsetof(tambre32::timespec, day) == 10, "day");
static_assert(offsetof(tambre32::timespec, weekday) == 12, "weekday");
static_assert(offsetof(tambre32::timespec, month) == 14, "month");
static_assert(offsetof(tambre32::timespec, year) == 16, "year");
static_assert(offsetof(tambre32::timespec, length) == 18, "length");

namespace {

constexpr unsigned kind_text_base = 236;     // + kind 1-7: "Minütlich  " ... "Jährlich"
constexpr unsigned weekday_name_base = 230;  // "So " ... "Sa "
constexpr int once_text_limit = 19;
constexpr int user_defined_text_limit = 31;

constexpr int fixed_length(int kind) {
  constexpr int lengths[8] = {0, 60, 3600, 86400, 604800, 2678400, 7948800, 31536000};
  return lengths[kind];
}

// Appends formatted parts to a text of at most `limit` characters; the rest is cut.
class bounded_text {
 public:
  bounded_text(char* out, int limit) : out_(out), limit_(limit) { out_[0] = '\0'; }
  void append(const char* part) {
    while (*part != '\0' && used_ < limit_) out_[used_++] = *part++;
    out_[used_] = '\0';
  }
  void number(const char* format, long long value) {
    char part[32];
    std::snprintf(part, sizeof part, format, value);
    append(part);
  }

 private:
  char* out_;
  int limit_;
  int used_ = 0;
};

// The weighted due point of compare, in wrapping 32-bit arithmetic: years from 2036 on
// wrap around, and records that far out order by the wrapped sum.
std::uint32_t due_point_weight(const tambre32::timespec& r) {
  auto u = [](int v) { return static_cast<std::uint32_t>(v); };
  return u(r.minute) * 60u + u(r.hour) * 3600u + u(r.day) * 86400u + u(r.weekday) * 86400u + u(r.month) * 2678400u +
         u(r.year) * 31622400u;
}

}  // namespace

tambre32::timespec& tambre32::timespec::operator=(const tambre32::timespec& other) {
  // A packed record of plain fields: its bytes are its value.
  // NOLINTNEXTLINE(bugprone-undefined-memory-manipulation)
  std::memmove(static_cast<void*>(this), &other, sizeof(tambre32::timespec));
  return *this;
}

void tambre32::timespec::init() { std::memset(static_cast<void*>(this), 0, sizeof(tambre32::timespec)); }

void tambre32::timespec::recalc() {
  if (kind >= timespec_minutely && kind <= timespec_yearly) {
    length = fixed_length(kind);
  } else if (kind != timespec_user_defined || length <= 0) {
    kind = timespec_once;
    length = 0;
  }
}

char* tambre32::timespec::tostr(char* buffer) {
  if (buffer == nullptr) return nullptr;
  recalc();
  bounded_text text(buffer, kind == timespec_user_defined ? user_defined_text_limit : once_text_limit);
  char name[32];
  if (kind >= timespec_minutely && kind <= timespec_yearly) {
    tambre::sys::load_library_string(kind_text_base + static_cast<unsigned>(kind), name, sizeof name);
    text.append(name);
  } else if (kind == timespec_user_defined) {
    char period[48];
    std::snprintf(period, sizeof period, "<%id %2.2i:%2.2i> ", length / 86400, length % 86400 / 3600,
                  length % 3600 / 60);
    text.append(period);
  }
  const int span = kind == timespec_once ? INT_MAX : length;
  if (span == 604800) {
    // A weekday outside 0-6 has no name and adds nothing.
    if (weekday >= 0 && weekday <= 6) {
      tambre::sys::load_library_string(weekday_name_base + static_cast<unsigned>(weekday), name, sizeof name);
      text.append(name);
    }
  } else if (span > 86400) {
    text.number("%lli.", day + 1LL);
  }
  if (span > 2678400) text.number("%lli.", month + 1LL);
  if (span > 31536000) text.number("%lli ", year + 1900LL);
  if (span > 3600)
    text.number("%02lli:", hour);
  else
    text.append("00:");
  if (span > 60) text.number("%02lli", minute);
  return buffer;
}

int tambre32::timespec::compare(const tambre32::timespec& other) const {
  auto rank = [](int k) { return k == timespec_once ? 32767 : k; };
  if (rank(kind) != rank(other.kind)) return rank(kind) < rank(other.kind) ? -1 : 1;
  if (length != other.length) return length < other.length ? -1 : 1;
  std::uint32_t mine = due_point_weight(*this), theirs = due_point_weight(other);
  if (mine != theirs) return mine < theirs ? -1 : 1;
  return 0;
}
