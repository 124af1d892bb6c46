#include <unistd.h>

#include "sys/readable_file.h"

namespace tambre::sys {

bool readable_file(const char* path) { return path != nullptr && access(path, R_OK) == 0; }

}  // namespace tambre::sys
