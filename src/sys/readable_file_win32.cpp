#include <io.h>

#include "sys/readable_file.h"

namespace tambre::sys {

bool readable_file(const char* path) { return path != nullptr && _access(path, 4) == 0; }

}  // namespace tambre::sys
