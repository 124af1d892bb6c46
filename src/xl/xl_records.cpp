// Walking a buffer: record sizes, the first and the next record.
#include <cstdint>

#include "tambre32/xltable.h"
#include "xl/xl_record.h"

using tambre::xl::header_size;
using tambre::xl::known_type;
using tambre::xl::load_u16;

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlSize(const void* record) {
  if (record == nullptr) return -1;
  const auto* p = static_cast<const unsigned char*>(record);
  if (!known_type(load_u16(p))) return -1;
  return load_u16(p + 2) + static_cast<int>(header_size);
}

TAMBRE_EXPORT(void*, TAMBRE_FASTCALL) xlGetFirst(void* buffer) {
  if (buffer == nullptr) return nullptr;
  return load_u16(static_cast<const unsigned char*>(buffer)) == XL_TYPE_TABLE ? buffer : nullptr;
}

// With an end, the next record is handed out only when all of it (header and data) lies
// before the end, so whoever reads it next stays inside the buffer.
TAMBRE_EXPORT(void*, TAMBRE_FASTCALL) xlGetNext(void* record, const void* end) {
  const int size = xlSize(record);
  if (size < 0) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(record) + static_cast<std::uintptr_t>(size);
  if (end != nullptr) {
    const auto limit = reinterpret_cast<std::uintptr_t>(end);
    if (limit <= start || limit - start < header_size) return nullptr;
    auto* next = static_cast<unsigned char*>(record) + size;
    if (!known_type(load_u16(next))) return nullptr;
    if (limit - start < header_size + load_u16(next + 2)) return nullptr;
    return next;
  }
  auto* next = static_cast<unsigned char*>(record) + size;
  return known_type(load_u16(next)) ? next : nullptr;
}
