// Single records to numbers, booleans and text.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tambre32/strutil.h"
#include "tambre32/xltable.h"
#include "xl/xl_record.h"
#include "xl/xl_words.h"

namespace tambre::xl {
namespace {

// The record's data holds at least `n` readable bytes.
bool has(const record_view& r, std::size_t n) { return r.readable >= n; }

double load_double(const unsigned char* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// A string cell's characters as a terminated text (at most 255 characters); false when
// the record is too short to hold its length byte.
bool string_text(const record_view& r, char (&text)[256]) {
  if (!has(r, 1)) return false;
  std::size_t n = r.data[0];
  if (n > r.readable - 1) n = r.readable - 1;
  std::memcpy(text, r.data + 1, n);
  text[n] = '\0';
  return true;
}

const char* error_text(unsigned code) {
  switch (code) {
    case 0:
      return "#NULL!";
    case 7:
      return "#DIV/0!";
    case 15:
      return "#VALUE!";
    case 23:
      return "#REF!";
    case 29:
      return "#NAME?";
    case 36:
      return "#NUM!";
    case 42:
      return "#N/A";
    default:
      return nullptr;
  }
}

void copy_cut(const char* from, char* text, std::size_t size) {
  std::size_t n = std::strlen(from);
  if (n > size - 1) n = size - 1;
  std::memcpy(text, from, n);
  text[n] = '\0';
}

}  // namespace

bool to_float(const record_view& r, double& value) {
  switch (r.type) {
    case XL_TYPE_FLOAT:
      if (!has(r, 8)) return false;
      value = load_double(r.data);
      return true;
    case XL_TYPE_STRING: {
      char text[256];
      if (!string_text(r, text)) return false;
      // Either decimal mark reads.
      if (char* comma = std::strchr(text, ',')) *comma = '.';
      char* end = nullptr;
      const double v = std::strtod(text, &end);
      if (end == text) return false;
      value = v;
      return true;
    }
    case XL_TYPE_BOOL:
    case XL_TYPE_INT:
      if (!has(r, 2)) return false;
      value = r.type == XL_TYPE_BOOL ? (load_u16(r.data) != 0 ? 1.0 : 0.0) : load_u16(r.data);
      return true;
    default:
      return false;
  }
}

bool to_bool(const record_view& r, std::uint16_t& value) {
  switch (r.type) {
    case XL_TYPE_FLOAT:
      if (!has(r, 8)) return false;
      value = load_double(r.data) == 0.0 ? 0 : 1;  // a NaN is not 0.0
      return true;
    case XL_TYPE_STRING: {
      char text[256];
      if (!string_text(r, text)) return false;
      if (strmatchtoken(text, true_words, nullptr)) {
        value = 1;
      } else if (strmatchtoken(text, false_words, nullptr)) {
        value = 0;
      } else {
        return false;
      }
      return true;
    }
    case XL_TYPE_BOOL:
    case XL_TYPE_INT:
      if (!has(r, 2)) return false;
      value = load_u16(r.data) != 0 ? 1 : 0;
      return true;
    default:
      return false;
  }
}

// A record too short for its type reads as an unknown one.
bool to_string(const record_view& r, char* text, std::size_t size) {
  if (size == 0) return r.type >= XL_TYPE_FLOAT && r.type <= XL_TYPE_SKIP;
  char buffer[64];
  switch (r.type) {
    case XL_TYPE_FLOAT:
      if (!has(r, 8)) break;
      std::snprintf(buffer, sizeof buffer, "%-.14G", load_double(r.data));
      copy_cut(buffer, text, size);
      return true;
    case XL_TYPE_STRING: {
      char cell[256];
      if (!string_text(r, cell)) break;
      copy_cut(cell, text, size);
      return true;
    }
    case XL_TYPE_BOOL:
      if (!has(r, 2)) break;
      copy_cut(load_u16(r.data) != 0 ? "TRUE" : "FALSE", text, size);
      return true;
    case XL_TYPE_ERROR: {
      if (!has(r, 2)) break;
      const unsigned code = load_u16(r.data);
      const char* known = error_text(code);
      if (known == nullptr) {
        std::snprintf(buffer, sizeof buffer, "#ERR%u", code);
        known = buffer;
      }
      copy_cut(known, text, size);
      return true;
    }
    case XL_TYPE_BLANK:
    case XL_TYPE_SKIP:
      text[0] = '\0';
      return true;
    case XL_TYPE_INT:
      if (!has(r, 2)) break;
      std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(load_u16(r.data)));
      copy_cut(buffer, text, size);
      return true;
    default:
      break;
  }
  copy_cut("#INVFORMAT", text, size);
  return false;
}

}  // namespace tambre::xl

using tambre::xl::record_view;
using tambre::xl::unbounded;

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlToFloat(const void* record, double* value) {
  if (record == nullptr || value == nullptr) return 0;
  return tambre::xl::to_float(record_view(record, unbounded), *value) ? 1 : 0;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlToBool(const void* record, unsigned short* value) {
  if (record == nullptr || value == nullptr) return 0;
  std::uint16_t v = 0;
  if (!tambre::xl::to_bool(record_view(record, unbounded), v)) return 0;
  *value = v;
  return 1;
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlToString(const void* record, char* text, int size) {
  if (text == nullptr || size <= 0) return 0;
  if (record == nullptr) {
    text[0] = '\0';
    return 0;
  }
  return tambre::xl::to_string(record_view(record, unbounded), text, static_cast<std::size_t>(size)) ? 1 : 0;
}
