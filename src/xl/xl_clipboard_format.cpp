#include <atomic>

#include "sys/platform.h"
#include "tambre32/xltable.h"

// Registered once; threads racing on the first call register the same name and get the
// same id, so the cache may be written twice with one value.
TAMBRE_EXPORT(unsigned int, TAMBRE_FASTCALL) xlClipboardFormat(void) {
  static std::atomic<unsigned> cached{0};
  unsigned id = cached.load(std::memory_order_relaxed);
  if (id == 0) {
    id = tambre::sys::register_clipboard_format("XlTable");
    cached.store(id, std::memory_order_relaxed);
  }
  return id;
}
