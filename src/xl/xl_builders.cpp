// Builders: each writes one record at the caller's position and returns its size.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tambre32/strutil.h"
#include "tambre32/xltable.h"
#include "xl/xl_record.h"
#include "xl/xl_words.h"

namespace {

using tambre::xl::store_u16;

unsigned char* header(void* record, unsigned type, unsigned size) {
  auto* p = static_cast<unsigned char*>(record);
  store_u16(p, type);
  store_u16(p + 2, size);
  return p + tambre::xl::header_size;
}

int write_u16_record(void* record, unsigned type, unsigned value) {
  if (record == nullptr) return 0;
  store_u16(header(record, type, 2), value);
  return 6;
}

constexpr int value_error = 15;

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlTableInit(void* record, unsigned short rows, unsigned short columns) {
  if (record == nullptr) return 0;
  unsigned char* data = header(record, XL_TYPE_TABLE, 4);
  store_u16(data, rows);
  store_u16(data + 2, columns);
  return 8;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlTable(void* record) { return xlTableInit(record, 1, 1); }

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlFloat(void* record, double value) {
  if (record == nullptr) return 0;
  unsigned char* data = header(record, XL_TYPE_FLOAT, 8);
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i, bits >>= 8) data[i] = static_cast<unsigned char>(bits);
  return 12;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlBool(void* record, int value) {
  return write_u16_record(record, XL_TYPE_BOOL, (value & 0xFFFF) != 0 ? 1 : 0);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlInt(void* record, int value) {
  return write_u16_record(record, XL_TYPE_INT, static_cast<unsigned>(value) & 0xFFFF);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlError(void* record, int code) {
  return write_u16_record(record, XL_TYPE_ERROR, static_cast<unsigned>(code) & 0xFFFF);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlBlank(void* record) { return write_u16_record(record, XL_TYPE_BLANK, 1); }

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlString(void* record, const char* text) {
  if (record == nullptr) return 0;
  if (text == nullptr) text = "";
  std::size_t n = 0;
  while (n < 255 && text[n] != '\0') ++n;
  unsigned char* data = header(record, XL_TYPE_STRING, static_cast<unsigned>(n + 1));
  data[0] = static_cast<unsigned char>(n);
  std::memcpy(data + 1, text, n);
  return static_cast<int>(n + 5);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlTextToTable(void* record, const char* text, int type) {
  if (record == nullptr) return 0;
  if (text == nullptr) text = "";
  char* end = nullptr;
  switch (type) {
    case XL_TYPE_FLOAT: {
      const double v = std::strtod(text, &end);
      return end != text ? xlFloat(record, v) : xlError(record, value_error);
    }
    case XL_TYPE_STRING:
      return xlString(record, text);
    case XL_TYPE_BOOL:
      if (strmatchtoken(text, tambre::xl::true_words, nullptr)) return xlBool(record, 1);
      if (strmatchtoken(text, tambre::xl::false_words, nullptr)) return xlBool(record, 0);
      return xlError(record, value_error);
    case XL_TYPE_INT: {
      // Out-of-range numbers keep their low 16 bits like any other.
      const long long v = std::strtoll(text, &end, 10);
      return end != text ? xlInt(record, static_cast<int>(v & 0xFFFF)) : xlError(record, value_error);
    }
    default:
      return xlBlank(record);
  }
}
