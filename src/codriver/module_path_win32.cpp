// Files that live next to a module: the type library of the driver object.
#include "base/paths.h"
#include "codriver/module_path.h"

#include <cstring>

namespace tambre::codriver {

bool path_beside_module(HMODULE module, const char* name, char (&path)[MAX_PATH + 1]) {
  path[0] = '\0';
  if (!name) return false;
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char* file_part = base::file_part(path);
  if (static_cast<size_t>(file_part - path) + strlen(name) > MAX_PATH) return false;
  strcpy(file_part, name);
  return true;
}

}  // namespace tambre::codriver
