#pragma once
// The seam between the portable core and the platform. The core reaches the platform only
// through these functions; platform_win32.cpp implements them with Win32 calls and
// platform_posix.cpp for the native build.

#include <cstddef>

namespace tambre::sys {

// 256 entries: each character lowered the way the user's locale lowers it (CharLowerA
// on Windows, ASCII in the native build). Built once, never changes.
const unsigned char* lower_table();
// The platform's part of it: fills `table` with the lowered form of each character.
void fill_lower_table(unsigned char (&table)[256]);

inline unsigned char lower_char(char c) { return lower_table()[static_cast<unsigned char>(c)]; }

// Copies string `id` of the library's string table into `buffer` (cut to size - 1
// characters, always terminated) and returns its length; 0 and an empty buffer when the
// table has no such string.
std::size_t load_library_string(unsigned id, char* buffer, std::size_t size);

}  // namespace tambre::sys
