#pragma once
// Whole files as bytes, for tests that check what a function wrote to disk.
#include <fstream>
#include <iterator>
#include <string>

namespace tambre::test {

// The bytes of the file at `path`; empty when it cannot be read.
inline std::string file_contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file at `path` with `bytes`.
inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace tambre::test
