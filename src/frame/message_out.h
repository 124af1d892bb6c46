#pragma once
// The message-output channel, for the library's own Parts.
#include <cstdarg>

namespace tambre::frame {

// Formats printf-style (at most 311 characters) and hands the text to the installed
// callback; the characters delivered, or -1 when cut or when no callback is installed.
int message_out_v(const char* format, va_list args);

}  // namespace tambre::frame
