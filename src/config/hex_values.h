#pragma once
// The packed text form of a short array of 32-bit values in the settings store:
// upper-case hexadecimal numbers without leading zeros, separated by ',' ("3F8,2F8,0").

#include <cstdint>
#include <string>

namespace tambre::config {

// Numbers one entry holds at most; more are not written and not read.
constexpr int kMaxHexValues = 112;

// The text of the first min(count, 112) values; empty for none.
std::string format_hex_values(const std::uint32_t* values, int count);

// Sets all `count` elements to 0, then reads at most min(count, 112) numbers from `text`
// into them and returns how many it stored. Each number is read like the Windows C
// library's strtoul in base 16 (blanks, a sign and "0x" accepted, "0x" alone is no number);
// a piece that is no number stores 0 and counts.
// After a number one character, the separator, is skipped; the end of the text ends the
// reading. An empty text gives 0.
int read_hex_values(const char* text, std::uint32_t* values, int count);

}  // namespace tambre::config
