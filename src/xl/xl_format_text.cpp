// A whole buffer as readable text, for diagnostics. Bounded on both sides: nothing is read
// beyond bufferSize bytes, nothing written beyond textSize characters and the terminator.
#include <cstdio>
#include <cstring>

#include "tambre32/xltable.h"
#include "xl/xl_record.h"

namespace {

using tambre::xl::header_size;
using tambre::xl::load_u16;
using tambre::xl::record_view;

// Appends to a text of `capacity` characters (its buffer one byte larger), cutting.
class text_sink {
 public:
  text_sink(char* text, std::size_t capacity) : text_(text), capacity_(capacity) { text_[0] = '\0'; }
  std::size_t room() const { return capacity_ - used_; }
  void append(const char* s) {
    std::size_t n = std::strlen(s);
    if (n > room()) n = room();
    std::memcpy(text_ + used_, s, n);
    used_ += n;
    text_[used_] = '\0';
  }

 private:
  char* text_;
  std::size_t capacity_;
  std::size_t used_ = 0;
};

const char* cell_pattern(unsigned type) {
  switch (type) {
    case XL_TYPE_FLOAT:
      return "xlFloat{ %s }";
    case XL_TYPE_STRING:
      return "xlString{ '%s' }";
    case XL_TYPE_BOOL:
      return "xlBool{ %s }";
    case XL_TYPE_ERROR:
      return "xlError{ %s }";
    case XL_TYPE_BLANK:
      return "xlBlank{}";
    case XL_TYPE_INT:
      return "xlInt{ %s }";
    case XL_TYPE_SKIP:
      return "xlSkip{ %s }";
    default:
      return nullptr;
  }
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlFormatText(const void* buffer, int bufferSize, char* text, int textSize) {
  if (text == nullptr) return 1;
  text_sink out(text, textSize < 0 ? 0 : static_cast<std::size_t>(textSize));
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const std::size_t size = bufferSize < 0 ? 0 : static_cast<std::size_t>(bufferSize);
  if (bytes == nullptr || size < header_size + 4 || load_u16(bytes) != XL_TYPE_TABLE) return 1;

  const unsigned rows = load_u16(bytes + header_size);
  const unsigned columns = load_u16(bytes + header_size + 2);
  char line[320];
  std::snprintf(line, sizeof line, "xlTable[%i,%i] {\r\n", static_cast<int>(rows), static_cast<int>(columns));
  out.append(line);

  std::size_t offset = 0;  // the record just rendered (first the table)
  const unsigned long cells = static_cast<unsigned long>(rows) * columns;
  for (unsigned long cell = 0; cell < cells && out.room() > 0; ++cell) {
    const int current = xlSize(bytes + offset);
    if (current < 0) break;  // an unknown record has no size to step over
    offset += static_cast<std::size_t>(current);
    if (offset >= size) break;  // the next record would start at or beyond the end
    // A record that starts inside the buffer is shown with what of it lies inside: cut
    // data read as far as they go, a cut header as an unreadable record, after which
    // there is nothing to step over.
    const bool header_cut = size - offset < header_size;
    const char* pattern = header_cut ? nullptr : cell_pattern(load_u16(bytes + offset));
    if (pattern == nullptr) {
      out.append("#INVFORMAT");
    } else {
      char value[256];
      tambre::xl::to_string(record_view(bytes + offset, size - offset), value, sizeof value);
      std::snprintf(line, sizeof line, pattern, value);
      out.append(line);
    }
    if (out.room() > 2) out.append("\r\n");
    if (header_cut) break;
  }
  if (out.room() > 1) out.append("}");
  return 1;
}
