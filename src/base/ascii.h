#pragma once
// Character classes of the library's texts, independent of the C locale.

namespace tambre::base {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The C locale's white space: blank, tab, line feed, vertical tab, form feed, return.
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The blanks inside a line of a text file: blank and tab only.
constexpr bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }

}  // namespace tambre::base
