// Custom resources of a module, read in place, copied, or saved to a file.
#include <windows.h>

#include <cstring>

#include "sys/handles.h"
#include "tambre32/ui.h"

namespace {

struct resource_bytes {
  const void* data = nullptr;
  DWORD size = 0;
};

resource_bytes find_resource(HINSTANCE module, const char* type, const char* name) {
  HRSRC info = FindResourceA(module, name, type);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {data, SizeofResource(module, info)};
}

}  // namespace

TAMBRE_EXPORT(void*, TAMBRE_FASTCALL)
LoadCustomResource(HINSTANCE module, const char* type, const char* name, BOOL copy, DWORD* size) {
  if (size != nullptr) *size = 0;
  resource_bytes resource = find_resource(module, type, name);
  if (resource.data == nullptr) return nullptr;
  void* result = const_cast<void*>(resource.data);
  if (copy) {
    tambre::sys::global_memory block(GlobalAlloc(GMEM_MOVEABLE, resource.size));
    void* bytes = block ? GlobalLock(block.get()) : nullptr;
    if (bytes == nullptr) return nullptr;
    std::memcpy(bytes, resource.data, resource.size);
    block.release();  // the caller frees the locked copy
    result = bytes;
  }
  if (size != nullptr) *size = resource.size;
  return result;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL)
SaveCustomResourceToFile(HINSTANCE module, const char* type, const char* name, const char* path) {
  resource_bytes resource = find_resource(module, type, name);
  if (resource.data == nullptr || path == nullptr) return 0;
  tambre::sys::unique_file file(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  DWORD written = 0;
  return WriteFile(file.get(), resource.data, resource.size, &written, nullptr) && written == resource.size ? 1 : 0;
}
