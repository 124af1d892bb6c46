#pragma once
// Windows code page 1252 and UTF-8: the "ANSI" code page of the native build.

#include <cstddef>
#include <string>

namespace tambre::base {

std::string cp1252_to_utf8(const char* in);
// Sequences that are not UTF-8 and characters the code page lacks become '?'.
std::string utf8_to_cp1252(const char* in);

// Copies `text` into out[0, size) cut after its last whole UTF-8 character (plain byte
// cut when `utf8` is false), terminated; true when all of it fit.
bool copy_cut(const std::string& text, char* out, std::size_t size, bool utf8);

}  // namespace tambre::base
