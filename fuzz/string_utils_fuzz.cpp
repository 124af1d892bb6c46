// Splits the input into a text and a pattern and runs the string utilities over them:
// no read or write past either string, and the results keep their contracts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tambre32/strutil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  std::string text = input.substr(0, split);
  std::string pattern = split == std::string::npos ? std::string() : input.substr(split + 1);
  pattern = pattern.substr(0, pattern.find('\0'));

  if (strmatch(text.c_str(), "*") != 1) std::abort();
  strmatch(text.c_str(), pattern.c_str());
  const char* hit = stristr(text.c_str(), pattern.c_str());
  if (hit != nullptr && !strniequal(hit, pattern.c_str())) std::abort();
  strmatchtoken(text.c_str(), pattern.c_str(), nullptr);

  // In-place edits in a buffer exactly as large as their result can need.
  std::string buffer = text;
  buffer.resize(text.size() * (pattern.size() + 2) + 1);
  strsubst(buffer.data(), pattern.substr(0, 2).c_str(), pattern.c_str());
  strtrim(buffer.data(), 3);
  for (char* f = strtoks(buffer.data(), pattern.c_str()); f; f = strtoks(nullptr, pattern.c_str())) {
  }
  char small[7];
  strxcpy(small, text.c_str(), sizeof small);
  if (std::strlen(small) > 6) std::abort();
  return 0;
}
