// Arbitrary bytes as an XlTable buffer: the walk hands out only records that start inside
// the buffer, the converters read a record only as far as the buffer goes, and the
// diagnostic text never reads past the buffer nor writes past the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tambre32/xltable.h"
#include "xl/xl_record.h"

namespace xl = tambre::xl;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exactly sized copy, so one byte too far is a heap overflow the sanitizer reports.
  std::vector<unsigned char> buffer(data, data + size);
  unsigned char* start = buffer.data();
  const unsigned char* end = start + size;

  std::vector<char> text(301, '#');
  xlFormatText(start, static_cast<int>(size), text.data(), 300);
  if (std::strlen(text.data()) > 300) std::abort();
  std::vector<char> tiny(4);
  xlFormatText(start, static_cast<int>(size), tiny.data(), 3);

  if (size < xl::header_size + 4 || xlGetFirst(start) == nullptr) return 0;
  int steps = 0;
  for (void* r = xlGetNext(start, end); r != nullptr && steps < 10000; r = xlGetNext(r, end), ++steps) {
    const auto* record = static_cast<const unsigned char*>(r);
    if (record <= start || record >= end) std::abort();
    const std::size_t left = static_cast<std::size_t>(end - record);
    if (left < xl::header_size) continue;  // a cut header: nothing to convert
    const xl::record_view view(r, left);
    double value;
    std::uint16_t flag;
    char cell[32];
    xl::to_float(view, value);
    xl::to_bool(view, flag);
    xl::to_string(view, cell, sizeof cell);
    if (std::strlen(cell) >= sizeof cell) std::abort();
    if (view.readable == view.size) {
      // Wholly inside: the exported converters agree with the bounded ones.
      char exported[32];
      xlToString(r, exported, sizeof exported);
      if (std::strcmp(cell, exported) != 0) std::abort();
    }
  }
  return 0;
}
