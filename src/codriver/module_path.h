#pragma once
#include <windows.h>

namespace tambre::codriver {

// The full file name of `module` with its file-name part replaced by `name` (the module's
// directory, a backslash, `name`); false when the module is unknown or the path would not
// fit MAX_PATH.
bool path_beside_module(HMODULE module, const char* name, char (&path)[MAX_PATH + 1]);

}  // namespace tambre::codriver
