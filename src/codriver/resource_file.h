#pragma once
#include <windows.h>

namespace tambre::codriver {

// Writes the raw bytes of the resource `type`/`name` of `module` into `path`, created or
// truncated. True when the resource was found and all of it was written.
bool save_resource_to_file(HMODULE module, const char* type, const char* name, const char* path);

}  // namespace tambre::codriver
