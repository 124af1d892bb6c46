#pragma once
// Display patterns ("#####.##", "0xxxx", "hh:mm:ss.ss", "DD.MM.YYYY HH:MM") and the flag
// word and decimal count of the float text they stand for.

#include <cstddef>

namespace tambre::time {

// The longest pattern and its terminator.
constexpr std::size_t pattern_size = 80;

// Writes the pattern of a flag word and decimal count into out[pattern_size].
void format_pattern(char* out, unsigned flags, int decimals);
// The characters of that pattern other than "0" and "E".
int pattern_length(unsigned flags, int decimals);
// Reads a pattern among the forms `allowed` names; false, outputs untouched, when it is
// no such pattern.
bool scan_pattern(const char* pattern, unsigned& flags, unsigned& decimals, unsigned allowed);

}  // namespace tambre::time
