#pragma once
// Whether the process may open a path for reading (an access check, no open).

namespace tambre::sys {

bool readable_file(const char* path);

}  // namespace tambre::sys
