// Arbitrary bytes as a log file image: the newest-number scan, the header search and the
// trim position never read outside the image, and what they report is consistent with it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "log/log_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto file_size = static_cast<std::int64_t>(size);
  tambre::log::read_at read = [&bytes](std::int64_t offset, char* buffer, std::size_t n) -> std::size_t {
    if (offset < 0 || offset > static_cast<std::int64_t>(bytes.size())) std::abort();
    std::size_t left = bytes.size() - static_cast<std::size_t>(offset);
    if (n > left) n = left;
    std::memcpy(buffer, bytes.data() + offset, n);
    return n;
  };

  long last = tambre::log::last_header_number(read, file_size);
  if (last != 0) {
    // The number found stands at the start of a line somewhere in the image.
    bool seen = false;
    for (std::size_t at = 0; at < size && !seen; ++at) {
      long number = 0;
      seen = (at == 0 || bytes[at - 1] == '\n') && tambre::log::parse_header(bytes.data() + at, size - at, number) &&
             number == last;
    }
    if (!seen) std::abort();
  }

  // Searched blind, and with first and last numbers as a caller would pass them (which
  // arbitrary bytes may well contradict).
  long first = 0;
  tambre::log::parse_header(bytes.data(), size, first);
  for (long number : {1L, last, last / 2, last / 2 + 1}) {
    for (std::int64_t at : {tambre::log::find_header(read, file_size, number),
                            tambre::log::find_header(read, file_size, number, first, last)}) {
      if (at < 0) continue;
      long found = 0;
      if (at > 0 && bytes[static_cast<std::size_t>(at - 1)] != '\n') std::abort();
      if (!tambre::log::parse_header(bytes.data() + at, size - static_cast<std::size_t>(at), found) || found != number)
        std::abort();
      std::size_t lines = 0;
      tambre::log::read_entries(read, file_size, at, number, [&lines](const char* line) {
        if (std::strlen(line) > tambre::log::max_line + 1) std::abort();
        ++lines;
      });
      if (lines == 0) std::abort();
    }
  }

  std::int64_t keep = tambre::log::keep_position(read, file_size, 1);
  if (keep > file_size) std::abort();
  return 0;
}
