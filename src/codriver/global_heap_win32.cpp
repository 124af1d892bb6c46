#include "codriver/global_heap.h"

#include <windows.h>

namespace tambre::codriver {

void* global_heap_alloc(std::size_t size) noexcept {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!handle) return nullptr;
  void* block = GlobalLock(handle);
  if (!block) GlobalFree(handle);
  return block;
}

void global_heap_free(void* block) noexcept {
  if (!block) return;
  HGLOBAL handle = GlobalHandle(block);
  if (!handle) return;
  GlobalUnlock(handle);
  GlobalFree(handle);
}

}  // namespace tambre::codriver
