#pragma once
// A string-table entry of any module, cut to a fixed number of characters.
#include <windows.h>

#include <optional>
#include <string>

namespace tambre::ui {

// Entry `id` of `module` with at most `max_chars` characters; nothing when it is missing
// (or empty, which the platform cannot tell apart).
std::optional<std::string> load_resource_string(HINSTANCE module, UINT id, int max_chars);

}  // namespace tambre::ui
