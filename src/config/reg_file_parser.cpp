// Lines of a registry file.
#include "config/reg_file_parser.h"
#include "base/ascii.h"

namespace tambre::config {

namespace {

std::string_view skip_blanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && base::is_space_or_tab(text[i])) ++i;
  return text.substr(i);
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_nocase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (ascii_lower(text[i]) != prefix[i]) return false;
  }
  return true;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A hexadecimal number the way "%x" reads it: blanks, a sign, an optional "0x", then at
// least one digit. Digits beyond 32 bits wrap.
bool scan_hex(std::string_view text, std::uint32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && (base::is_space_or_tab(text[i]) || text[i] == '\v' || text[i] == '\f')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i + 2 < text.size() && text[i] == '0' && ascii_lower(text[i + 1]) == 'x' && hex_digit(text[i + 2]) >= 0) {
    i += 2;
  }
  std::uint32_t result = 0;
  std::size_t digits = 0;
  for (; i < text.size() && hex_digit(text[i]) >= 0; ++i, ++digits) {
    result = result * 16u + static_cast<std::uint32_t>(hex_digit(text[i]));
  }
  if (digits == 0) return false;
  value = negative ? 0u - result : result;
  return true;
}

struct root_prefix {
  std::string_view prefix;
  reg_root root;
};

// Case-sensitive; the backslash belongs to the prefix.
constexpr root_prefix kRoots[] = {
    {"HKEY_CLASSES_ROOT\\", reg_root::classes_root},
    {"HKEY_CURRENT_USER\\", reg_root::current_user},
    {"HKEY_LOCAL_MACHINE\\", reg_root::local_machine},
};

reg_line bad_line(std::int32_t code) {
  reg_line line;
  line.type = reg_line::kind::bad;
  line.error = code;
  return line;
}

reg_line parse_key(std::string_view line) {
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return bad_line(kRegBadKey);
  const std::string_view inside = line.substr(1, close - 1);
  for (const root_prefix& candidate : kRoots) {
    if (inside.substr(0, candidate.prefix.size()) == candidate.prefix) {
      reg_line key;
      key.type = reg_line::kind::key;
      key.root = candidate.root;
      key.path = inside.substr(candidate.prefix.size());
      return key;
    }
  }
  return bad_line(kRegBadKey);
}

reg_line parse_value(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return bad_line(kRegInvalidArg);
  reg_line value;
  value.type = reg_line::kind::value;

  const std::string_view head = line.substr(0, equals);
  if (head[0] == '"') {
    const std::size_t close = head.find('"', 1);
    if (close == std::string_view::npos) return bad_line(kRegInvalidArg);
    value.name = head.substr(1, close - 1);
  } else if (head[0] != '@') {
    // A bare name lies outside the format: refused rather than guessed at.
    return bad_line(kRegInvalidArg);
  }

  const std::string_view data = skip_blanks(line.substr(equals + 1));
  if (!data.empty() && data[0] == '"') {
    const std::size_t close = data.find('"', 1);
    if (close == std::string_view::npos) return bad_line(kRegInvalidArg);
    value.text = data.substr(1, close - 1);
    return value;
  }
  constexpr std::string_view kDword = "dword:";
  if (!starts_with_nocase(data, kDword) || !scan_hex(data.substr(kDword.size()), value.dword)) {
    return bad_line(kRegInvalidArg);
  }
  value.is_dword = true;
  return value;
}

}  // namespace

bool reg_line_reader::next(std::string_view& line) {
  if (*next_ == '\0') return false;
  const char* start = next_;
  while (*next_ != '\0' && *next_ != '\r' && *next_ != '\n') ++next_;
  const std::size_t length = static_cast<std::size_t>(next_ - start);
  line = std::string_view(start, length < kRegMaxLineLength ? length : kRegMaxLineLength);
  if (*next_ == '\r') {
    ++next_;
    if (*next_ == '\n') ++next_;
  } else if (*next_ == '\n') {
    ++next_;
  }
  ++number_;
  return true;
}

bool is_reg_header(std::string_view line) {
  return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

reg_line parse_reg_line(std::string_view line, int number, bool values) {
  line = skip_blanks(line);
  if (line.empty() || line[0] == ';') return reg_line{};
  if (number == 1) {
    if (!is_reg_header(line)) return bad_line(kRegNotRegistryFile);
    reg_line header;
    header.type = reg_line::kind::header;
    return header;
  }
  if (line[0] == '[') return parse_key(line);
  if (!values) return reg_line{};
  return parse_value(line);
}

}  // namespace tambre::config
