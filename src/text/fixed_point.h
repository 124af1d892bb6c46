#pragma once
// "%.*f" of a value, with a short way for the common field sizes.
#include <cstddef>

namespace tambre::text {

// Writes value with `decimals` decimals like "%.*f" into out; false when the text needs
// more than room - 1 characters.
bool write_fixed(char* out, std::size_t room, int decimals, double value);

}  // namespace tambre::text
