// String utilities on zero-terminated 8-bit strings. None allocates; null arguments are
// treated as empty strings (or give a null result where the result is a pointer into one).
//
// Case-insensitive comparisons all fold through the platform's lowering table, the same
// one strmatch uses, so striequal, stristr and strmatch agree with each other on every
// character, accented ones included.
#include <cstring>
#include "base/ascii.h"
#include "base/paths.h"

#include "sys/platform.h"
#include "tambre32/strutil.h"

namespace {

using tambre::sys::lower_char;

// The first `n` characters of a and b are equal ignoring case.
bool equal_nocase(const char* a, const char* b, std::size_t n) {
  const unsigned char* lower = tambre::sys::lower_table();
  for (std::size_t i = 0; i < n; ++i) {
    if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])]) return false;
  }
  return true;
}

// First occurrence of find[0, n) in s[0, s_len) ignoring case, or null.
const char* find_nocase(const char* s, std::size_t s_len, const char* find, std::size_t n) {
  if (n == 0) return s;
  if (s_len < n) return nullptr;
  const unsigned char* lower = tambre::sys::lower_table();
  const unsigned char first = lower[static_cast<unsigned char>(find[0])];
  const char* last = s + (s_len - n);
  for (const char* p = s; p <= last; ++p) {
    if (lower[static_cast<unsigned char>(*p)] == first && equal_nocase(p + 1, find + 1, n - 1)) return p;
  }
  return nullptr;
}

thread_local char* tokenizer_position = nullptr;

}  // namespace

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strxcpy(char* dst, const char* src, unsigned size) {
  if (dst == nullptr) return dst;
  if (size == 0) size = 1;
  unsigned i = 0;
  if (src != nullptr) {
    for (; i + 1 < size && src[i] != '\0'; ++i) dst[i] = src[i];
  }
  dst[i] = '\0';
  return dst;
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strmove(char* dst, const char* src) {
  if (dst == nullptr) return dst;
  if (src == nullptr) {
    *dst = '\0';
    return dst;
  }
  std::memmove(dst, src, std::strlen(src) + 1);
  return dst;
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strsubst(char* s, const char* find, const char* repl) {
  if (s == nullptr || find == nullptr || *find == '\0') return s;
  if (repl == nullptr) repl = "";
  const std::size_t f = std::strlen(find);
  const std::size_t r = std::strlen(repl);
  char* pos = s;
  while ((pos = std::strstr(pos, find)) != nullptr) {
    if (f != r) std::memmove(pos + r, pos + f, std::strlen(pos + f) + 1);
    // Overwrites the found text in place; the terminator moved with the tail above.
    std::memcpy(pos, repl, r);  // NOLINT(bugprone-not-null-terminated-result)
    pos += r;                   // the inserted text is never searched again
  }
  return s;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strequal(const char* a, const char* b) {
  return std::strcmp(a ? a : "", b ? b : "") == 0;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) striequal(const char* a, const char* b) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  const std::size_t n = std::strlen(a);
  return n == std::strlen(b) && equal_nocase(a, b, n);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strnequal(const char* a, const char* b) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  return std::strncmp(a, b, std::strlen(b)) == 0;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strniequal(const char* a, const char* b) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  const std::size_t n = std::strlen(b);
  // The terminator of a lowers to itself and differs from every character of b, so a
  // shorter a fails inside the comparison without reading past it.
  const unsigned char* lower = tambre::sys::lower_table();
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == '\0' || lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])]) return 0;
  }
  return 1;
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) stristr(const char* s, const char* find) {
  if (s == nullptr) return nullptr;
  if (find == nullptr) find = "";
  return const_cast<char*>(find_nocase(s, std::strlen(s), find, std::strlen(find)));
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strmatch(const char* s, const char* pattern) {
  if (s == nullptr) s = "";
  if (pattern == nullptr) pattern = "";
  if (*s == '\0' && *pattern == '*') return 1;
  // Both ends and the last star are found once; every step below works on lengths.
  const char* const s_end = s + std::strlen(s);
  const char* const pattern_end = pattern + std::strlen(pattern);
  const char* const last_star = std::strrchr(pattern, '*');

  while (s != s_end && pattern != pattern_end) {
    if (*pattern == '?') {
      ++s;
      ++pattern;
    } else if (*pattern == '*') {
      while (*pattern == '*' || *pattern == '?') ++pattern;  // a '?' behind '*' consumes nothing
      if (pattern == pattern_end) return 1;
      const std::size_t segment = std::strcspn(pattern, "*?");
      const std::size_t rest = static_cast<std::size_t>(pattern_end - pattern);
      const bool star_follows = last_star != nullptr && last_star > pattern;
      // A plain rest (no '*', no '?') matches exactly when it ends s: the end is then an
      // occurrence, and any earlier first occurrence leaves text behind the pattern.
      if (!star_follows && segment == rest) {
        return static_cast<std::size_t>(s_end - s) >= rest && equal_nocase(s_end - rest, pattern, rest);
      }
      s = find_nocase(s, static_cast<std::size_t>(s_end - s), pattern, segment);
      if (s == nullptr) return 0;
      // The first occurrence is taken; the one way back to a later one is a rest without
      // '*' that equals the end of s (a '?' there compares as itself).
      if (!star_follows && static_cast<std::size_t>(s_end - s) >= rest && equal_nocase(s_end - rest, pattern, rest)) {
        return 1;
      }
      s += segment;
      pattern += segment;
    } else {
      if (lower_char(*s) != lower_char(*pattern)) return 0;
      ++s;
      ++pattern;
    }
  }
  if (s == s_end && pattern == pattern_end) return 1;
  if (s != s_end) return 0;
  return pattern_end - pattern == 1 && *pattern == '*';
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strspace(char* s) {
  if (s == nullptr) return s;
  for (char* p = s; *p != '\0'; ++p) {
    if (*p >= 9 && *p <= 13) *p = ' ';
  }
  return s;
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strtrim(char* s, int mode) {
  if (s == nullptr || *s == '\0') return s;
  if (mode & 2) {
    std::size_t n = std::strlen(s);
    while (n > 0 && tambre::base::is_space(s[n - 1])) --n;
    s[n] = '\0';
  }
  if (mode & 1) {
    const char* first = s;
    while (tambre::base::is_space(*first)) ++first;
    if (first != s) std::memmove(s, first, std::strlen(first) + 1);
  }
  return s;
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strtoks(char* s, const char* delims) {
  if (s != nullptr) tokenizer_position = s;
  char* field = tokenizer_position;
  if (field == nullptr || *field == '\0') return nullptr;
  // Without delimiters the whole rest is one field.
  char* end = field + std::strcspn(field, delims ? delims : "");
  if (*end != '\0') {
    *end = '\0';
    tokenizer_position = end + 1;
  } else {
    tokenizer_position = nullptr;
  }
  return field;
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) shortfilename(const char* path) {
  if (path == nullptr) return nullptr;
  return const_cast<char*>(tambre::base::file_part(path));
}

TAMBRE_EXPORT(char*, TAMBRE_FASTCALL) strcutlast(char* s, char c) {
  if (s == nullptr || *s == '\0') return s;
  const std::size_t n = std::strlen(s);
  if (s[n - 1] == c) s[n - 1] = '\0';
  return s;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strfill(char* dst, char c, int n) {
  if (dst == nullptr) return n;
  if (n > 0) std::memset(dst, c, static_cast<std::size_t>(n));
  dst[n > 0 ? n : 0] = '\0';
  return n;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) strmatchtoken(const char* s, const char* list, const char* single) {
  if (s == nullptr) s = "";
  if (single != nullptr && *single != '\0' && striequal(s, single)) return 1;
  if (list == nullptr) return 0;
  // Only the first 159 characters of the list count. The words are split here rather
  // than with strtok, so a caller in the middle of its own strtok loop keeps its place.
  const std::size_t list_len = strnlen(list, 159);
  const std::size_t s_len = std::strlen(s);
  std::size_t start = 0;
  while (start < list_len) {
    std::size_t end = start;
    while (end < list_len && list[end] != '|') ++end;
    const std::size_t word = end - start;
    if (word != 0 && word == s_len && equal_nocase(list + start, s, word)) return 1;
    start = end + 1;
  }
  return 0;
}
