#pragma once
// The seam between the portable core and the platform. The core reaches the platform only
// through these functions; platform_win32.cpp implements them with Win32 calls and
// platform_posix.cpp for the native build.

#include <cstddef>

namespace tambre::sys {

// 256 entries: each character lowered the way the user's locale lowers it (CharLowerA
// on Windows, ASCII in the native build). Built once, never changes.
const unsigned char* lower_table();

inline unsigned char lower_char(char c) { return lower_table()[static_cast<unsigned char>(c)]; }

// Copies string `id` of the library's string table into `buffer` (cut to size - 1
// characters, always terminated) and returns its length; 0 and an empty buffer when the
// table has no such string.
std::size_t load_library_string(unsigned id, char* buffer, std::size_t size);

// Converts a zero-terminated text from the system ANSI code page to UTF-8, or back. The
// output holds at most `size` bytes and is terminated whenever size > 0; a text that does
// not fit is cut after its last whole character. True when the whole text with its
// terminator fit. The output may be the input buffer.
bool ansi_to_utf8(const char* in, char* out, std::size_t size);
bool utf8_to_ansi(const char* in, char* out, std::size_t size);

// The clipboard format id registered for `name`; the same name always gives the same id.
unsigned register_clipboard_format(const char* name);

}  // namespace tambre::sys
