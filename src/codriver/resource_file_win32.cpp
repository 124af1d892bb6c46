// A module's resource written out unchanged as a file.
#include "codriver/resource_file.h"

#include "sys/handles.h"

namespace tambre::codriver {

bool save_resource_to_file(HMODULE module, const char* type, const char* name, const char* path) {
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, found);
  if (!bytes) return false;
  tambre::sys::unique_file file(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes, size, &written, nullptr) && written == size;
}

}  // namespace tambre::codriver
