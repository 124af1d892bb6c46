#include "time/format_pattern.h"
#include "base/ascii.h"
#include "base/float_flags.h"

#include <cstring>

namespace tambre::time {

namespace {

// Field pieces of the absolute date and time form, in the order they are written, with
// the text that selects each when a pattern is read.
struct field_piece {
  unsigned bit;
  const char* written;
  const char* selects;
};
constexpr field_piece field_pieces[] = {
    {0x40, "W ", "W"},   {0x08, "DD.", "DD"},  {0x10, "MM.", "MM."}, {0x20, "YYYY ", "YY"},
    {0x04, "HH:", "HH"}, {0x02, "MM:", ":MM"}, {0x01, "SS", "SS"},
};

// Appends to a pattern, cut at pattern_size - 1 characters.
class pattern_writer {
 public:
  explicit pattern_writer(char* out) : out_(out) { out_[0] = '\0'; }
  void text(const char* s) {
    for (; *s != '\0'; ++s) character(*s);
  }
  void repeat(char c, int count) {
    for (int i = 0; i < count; ++i) character(c);
  }
  void character(char c) {
    if (length_ + 1 >= pattern_size) return;
    out_[length_++] = c;
    out_[length_] = '\0';
  }
  void drop_last(char c) {
    if (length_ > 0 && out_[length_ - 1] == c) out_[--length_] = '\0';
  }

 private:
  char* out_;
  std::size_t length_ = 0;
};

int run_of(const char*& p, char c) {
  int n = 0;
  for (; *p == c; ++p) ++n;
  return n;
}

}  // namespace

void format_pattern(char* out, unsigned flags, int decimals) {
  pattern_writer w(out);
  if (decimals < 0) decimals = 0;
  int width = static_cast<int>(flags & 0x7F);
  if ((flags & base::ff_zero) != 0) w.character('0');
  if ((flags & base::ff_exp) != 0) {
    width = width > 5 ? width - 5 : 0;
    w.character('E');
  }
  if ((flags & (base::ff_time | base::ff_zero)) == (base::ff_time | base::ff_zero)) {
    pattern_writer fields(out);
    for (const field_piece& piece : field_pieces) {
      if ((static_cast<unsigned>(width) & piece.bit) != 0) fields.text(piece.written);
    }
    fields.drop_last(':');
    return;
  }
  if ((flags & base::ff_time) != 0) {
    w.text("hh:mm:ss");
    if (decimals != 0) {
      w.character('.');
      w.repeat('s', decimals);
    }
    return;
  }
  // Hexadecimal wins over binary, as it does in the float text.
  const char digit = (flags & base::ff_hex) != 0 ? 'x' : (flags & base::ff_bin) != 0 ? 'b' : '#';
  w.repeat(digit, decimals != 0 ? width - decimals - 1 : width);
  if (decimals != 0) {
    w.character('.');
    w.repeat(digit, decimals);
  }
}

int pattern_length(unsigned flags, int decimals) {
  char pattern[pattern_size];
  format_pattern(pattern, flags, decimals);
  int n = 0;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (*p != '0' && *p != 'E') ++n;
  }
  return n;
}

bool scan_pattern(const char* pattern, unsigned& flags_out, unsigned& decimals_out, unsigned allowed) {
  if (pattern == nullptr) return false;
  const char* p = pattern;
  while (base::is_space(*p)) ++p;
  unsigned f = 0;
  int n = 0, d = 0;
  if ((allowed & base::ff_zero) != 0 && *p == '0') {
    f = base::ff_zero;
    ++p;
  }
  if ((allowed & base::ff_exp) != 0 && *p == 'E') {
    f = base::ff_exp;  // an exponent form has no zero padding
    ++p;
  }
  if (*p == 'b' && (allowed & base::ff_bin) != 0) {
    n = run_of(p, 'b');
    f |= base::ff_bin;
  } else if (*p == 'x' && (allowed & base::ff_hex) != 0) {
    n = run_of(p, 'x');
    f |= base::ff_hex;
  } else if (*p != '\0' && std::strchr("YMDHMSW", *p) != nullptr && (allowed & (base::ff_time | base::ff_zero)) != 0) {
    unsigned fields = 0;
    for (const field_piece& piece : field_pieces) {
      if (std::strstr(p, piece.selects) != nullptr) fields |= piece.bit;
    }
    f |= base::ff_time | base::ff_zero;
    while (*p != '\0' && std::strchr(" .:/WDMYHMS", *p) != nullptr) ++p;
    if (*p == '\0' && fields != 0) {
      flags_out = f | fields;
      decimals_out = 0;
      return true;
    }
    n = static_cast<int>(fields);
  } else if (*p == 'h' && (allowed & base::ff_time) != 0) {
    f |= base::ff_time;
    if (std::strncmp(p, "hh:mm:ss", 8) == 0) {
      n = 17;
      p += 8;
      if (*p == '.') {
        const char* s = p + 1;
        int count = run_of(s, 's');
        if (*s == '\0') {
          d = count;
          p = s;
        }
      }
    }
  } else {
    n = run_of(p, '#');
    if (*p == '.') {
      ++p;
      d = run_of(p, '#');
    }
  }
  if (d != 0) n += d + 1;
  bool invalid = false;
  if ((f & base::ff_exp) != 0) {
    n += 5;
    invalid = (f & (base::ff_bin | base::ff_hex | base::ff_time | base::ff_zero)) != 0;
  }
  while (base::is_space(*p)) ++p;
  if (*p != '\0' || invalid) return false;
  if (n > 32 || (d != 0 && d > n - 2) || n == 0) return false;
  flags_out = f | static_cast<unsigned>(n);
  decimals_out = static_cast<unsigned>(d);
  return true;
}

}  // namespace tambre::time
