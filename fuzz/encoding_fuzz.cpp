// Arbitrary bytes through the decoders: HexToStr, DecodeURL, UTF8ToAnsi and GetDBText.
// No read past the text or the doubles, no write past the sizes, and the results keep
// their contracts (decoded texts fit their bounds and round-trip where they must).
#include <strings.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tambre32/encoding.h"
#include "tambre32/values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // terminated at its first zero
  const std::size_t length = std::strlen(text.c_str());

  std::vector<char> bytes(length / 2 + 1);
  char* decoded = HexToStr(bytes.data(), text.c_str());
  if (decoded != nullptr) {
    // Whatever decodes, encodes back to the same digits (upper-cased), unless a zero byte cut it.
    std::vector<char> again(length + 1);
    StrToHex(again.data(), decoded, -1);
    if (std::strlen(decoded) * 2 == length && strncasecmp(again.data(), text.c_str(), length) != 0) std::abort();
  } else if (bytes[0] != '\0') {
    std::abort();
  }

  std::vector<char> url(length + 1);
  DecodeURL(url.data(), text.c_str(), static_cast<int>(url.size()));
  if (std::strlen(url.data()) > length) std::abort();
  // A tight, smaller output is cut, never overrun.
  std::vector<char> small(length / 3 + 1);
  DecodeURL(small.data(), text.c_str(), static_cast<int>(small.size()));

  for (std::size_t room : {std::size_t{1}, length / 2 + 1, length + 1}) {
    std::vector<char> ansi(room);
    UTF8ToAnsi(ansi.data(), text.c_str(), static_cast<int>(room));
    if (std::strlen(ansi.data()) >= room) std::abort();
    std::vector<char> utf8(room);
    AnsiToUTF8(utf8.data(), text.c_str(), static_cast<int>(room));
    if (std::strlen(utf8.data()) >= room) std::abort();
  }

  // The bytes as doubles (any bit pattern: NaN, huge, negative).
  const std::size_t count = size / sizeof(double);
  if (count > 0) {
    std::vector<double> values(count);
    std::memcpy(values.data(), data, count * sizeof(double));
    const int max_chars = static_cast<int>(count * 6 < 95 ? count * 6 : 95);
    for (int out_size : {1, 4, 17, 100}) {
      std::vector<char> out(static_cast<std::size_t>(out_size));
      const int n = GetDBText(out.data(), out_size, values.data(), max_chars);
      if (n < 0 || n >= out_size) std::abort();
    }
  }
  return 0;
}
