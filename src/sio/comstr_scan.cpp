// The field scan: splits the string into tokens and checks each positional field's range.
// A field out of range makes the whole string invalid, whatever was asked.
#include <cmath>
#include <cstring>

#include "sio/comstr.h"
#include "sio/number_prefix.h"

namespace tambre::sio {

namespace {

constexpr std::size_t kWorkSize = 80;  // 79 characters of the text and a terminator
constexpr int kMissing = -2;           // a positional field the string does not have

struct keyword {
  const char* text;
  unsigned bit;
};
constexpr keyword kKeywords[] = {{"DTR", option_dtr}, {"DSR", option_dsr}, {"RTS", option_rts},
                                 {"CTS", option_cts}, {"XON", option_xon}, {"XOFF", option_xoff}};

// Tokenizer over a working buffer: runs of delimiters count as one, no empty tokens.
class tokens {
 public:
  explicit tokens(char* text) : next_(text) {}
  char* take(const char* delimiters) {
    next_ += std::strspn(next_, delimiters);
    if (*next_ == '\0') return nullptr;
    char* token = next_;
    next_ += std::strcspn(next_, delimiters);
    if (*next_ != '\0') *next_++ = '\0';
    return token;
  }

 private:
  char* next_;
};

// The truncated value of a numeric field when it lies in [low, high].
bool in_range(double value, int low, int high, int& out) {
  const double truncated = std::trunc(value);
  if (!(truncated >= low && truncated <= high)) return false;
  out = static_cast<int>(truncated);
  return true;
}

struct scanned {
  int port = 0;
  int baudrate = kMissing;
  int parity = kMissing;
  int data_bits = kMissing;
  int stop_bits = kMissing;
  unsigned options = 0;
};

// Reads the tokens behind the port; false when a positional field is out of range.
bool scan_fields(tokens& rest, scanned& s) {
  int position = 0;
  for (char* token = rest.take(";,"); token != nullptr; token = rest.take(";,"), ++position) {
    switch (position) {
      case 0:
        if (!in_range(decimal_prefix(token), 300, 115200, s.baudrate)) return false;
        break;
      case 1:
        s.parity = token[0] == 'E' ? 1 : token[0] == 'O' ? 2 : 0;
        break;
      case 2:
        if (!in_range(decimal_prefix(token), 5, 8, s.data_bits)) return false;
        break;
      case 3: {
        const double value = decimal_prefix(token);
        if (value == 1.5) {
          s.stop_bits = 3;
        } else if (!in_range(value, 1, 3, s.stop_bits)) {
          return false;
        }
        break;
      }
      default:
        break;
    }
    for (const auto& k : kKeywords) {
      if (std::strcmp(token, k.text) == 0) s.options |= k.bit;
    }
  }
  return true;
}

int handshake_code(unsigned options) {
  if (options == options_all_lines) return 1;
  if (options == options_xon_xoff) return 2;
  return static_cast<int>(options);
}

}  // namespace

int scan_comstr(const char* text, int selector) {
  if (text == nullptr) return -1;
  char work[kWorkSize];
  std::size_t n = 0;
  for (; n < kWorkSize - 1 && text[n] != '\0'; ++n) {
    const char c = text[n];
    work[n] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  work[n] = '\0';
  if (std::strncmp(work, "COM", 3) != 0) return -1;

  tokens rest(work);
  const char* port_token = rest.take(":,");  // never null: the text begins with "COM"
  scanned s;
  s.port = integer_prefix(port_token + 3);
  if (!scan_fields(rest, s)) return -1;

  switch (selector) {
    case field_port:
      return s.port >= 1 && s.port <= 255 ? s.port : -1;
    case field_baudrate:
      return s.baudrate == kMissing ? -1 : s.baudrate;
    case field_parity:
      return s.parity == kMissing ? 0 : s.parity;
    case field_databits:
      return s.data_bits == kMissing ? -1 : s.data_bits;
    case field_stopbits:
      return s.stop_bits == kMissing ? 0 : s.stop_bits;
    case field_handshake:
      return handshake_code(s.options);
    default:
      return -1;
  }
}

}  // namespace tambre::sio
