// Arbitrary bytes as an XlTable buffer: the walkers, the converters of every record they
// hand out and the diagnostic text never read past the buffer nor write past the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tambre32/xltable.h"

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

  if (size >= 4 && xlGetFirst(start) != nullptr) {
    int steps = 0;
    for (void* r = xlGetNext(start, end); r != nullptr && steps < 10000; r = xlGetNext(r, end), ++steps) {
      const auto* record = static_cast<const unsigned char*>(r);
      if (record + xlSize(r) > end) std::abort();
      double value;
      unsigned short flag;
      char cell[32];
      xlToFloat(r, &value);
      xlToBool(r, &flag);
      xlToString(r, cell, sizeof cell);
      if (std::strlen(cell) >= sizeof cell) std::abort();
    }
  }
  return 0;
}
