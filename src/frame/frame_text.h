#pragma once
// The text rules of the frame that need no platform: message prefixes from module file
// names and the one-line form of system error texts.

#include <cstddef>
#include <cstdint>

namespace tambre::frame {

// The prefix of a module's messages from its file path: the name behind the last
// backslash up to its first '.', followed by ": " ("C:\X\MODBUS.DRV" gives "MODBUS: ").
// A name without '.' is the whole prefix, without ": "; a path without a backslash gives
// an empty prefix. Cut to size - 1 characters; returns the prefix length.
std::size_t module_prefix(const char* path, char* out, std::size_t size);

// The caption of a box owned by a module: the file name behind the last backslash, cut at
// its first '.', at most size - 1 characters.
std::size_t module_caption(const char* path, char* out, std::size_t size);

// Turns the system text in `buffer` into one line (CR and LF become blanks) and, when the
// code is not 0 and there is room (the text is shorter than size - 21), appends the code:
// "[OS #5]" below 0x80000000, "[OS #80070005]" from there on.
void one_line_with_code(char* buffer, std::size_t size, std::uint32_t code);

}  // namespace tambre::frame
