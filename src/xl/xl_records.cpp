// Walking a buffer: record sizes, the first and the next record.
#include <cstdint>

#include "tambre32/xltable.h"
#include "xl/xl_record.h"

using tambre::xl::header_size;
using tambre::xl::known_type;
using tambre::xl::load_u16;
using tambre::xl::type_size;

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

// With an end, the next record is handed out whenever it starts before the end and has a
// known type, even when its data runs past the end: whoever reads its contents checks
// their length against the end. Only the header bytes are read here, and only inside the
// buffer: a record whose own header is cut has no next one, and a next record of which
// only one byte lies before the end has no readable type and counts as none.
TAMBRE_EXPORT(void*, TAMBRE_FASTCALL) xlGetNext(void* record, const void* end) {
  if (record == nullptr) return nullptr;
  const auto at = reinterpret_cast<std::uintptr_t>(record);
  const auto limit = reinterpret_cast<std::uintptr_t>(end);
  if (end != nullptr && (limit <= at || limit - at < header_size)) return nullptr;
  const int size = xlSize(record);
  if (size < 0) return nullptr;
  if (end != nullptr && (limit - at <= static_cast<std::uintptr_t>(size) || limit - at - size < type_size)) {
    return nullptr;
  }
  auto* next = static_cast<unsigned char*>(record) + size;
  return known_type(load_u16(next)) ? next : nullptr;
}
