#pragma once
// What the fuzz targets share: reading fixed-size values off the front of the input, a
// text in a heap block of exactly its length and terminator (one byte too far is a
// sanitizer report), the locales the scanners are run under, and a fixed clock.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "locale/locale_snapshot.h"
#include "support/fixed_time_source.h"
#include "sys/platform.h"
#include "time/zone_state.h"

namespace tambre::fuzz {

// Consumes a value of type T from the front of the input (zero-filled when it runs out).
class input {
 public:
  input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  template <typename T>
  T take() {
    T value{};
    const std::size_t n = size_ < sizeof value ? size_ : sizeof value;
    std::memcpy(&value, data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }

  // The rest of the input as a terminated text in a block of exactly that size.
  std::unique_ptr<char[]> rest_as_text() const {
    std::unique_ptr<char[]> text(new char[size_ + 1]);
    std::memcpy(text.get(), data_, size_);
    text[size_] = '\0';
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Separators and date orders that differ in every position, chosen by two bits.
inline const locale::locale_snapshot& locale_from(unsigned selector) {
  static const locale::locale_snapshot locales[] = {{".", ":", ",", ".", "DMY"},
                                                    {"/", ":", ".", ",", "MDY"},
                                                    {"-", ".", ",", ".", "YMD"},
                                                    {".", ",", ".", ",", "YDM"}};
  return locales[selector & 3];
}

// "Now" in the night of the spring change in Central Europe, so that relative times and
// completed dates cross it; installed once per process.
inline void use_fixed_clock() {
  static test::fixed_time_source source;
  static const bool installed = [] {
    source.local = {2024, 3, 31, 1, 30, 0, 0};
    source.utc = {2024, 3, 31, 0, 30, 0, 0};
    sys::time_seam().install(&source);
    time::read_zone();
    return true;
  }();
  (void)installed;
}

}  // namespace tambre::fuzz
