#pragma once
// Random data for the round-trip and oracle tests.
#include <random>
#include <string>
#include <vector>

namespace tambre::test {

inline std::vector<unsigned char> random_bytes(std::mt19937& rng, std::size_t n) {
  std::vector<unsigned char> v(n);
  for (auto& b : v) b = static_cast<unsigned char>(rng());
  return v;
}

// A text of n random bytes, none of them zero (a key text, a C string).
inline std::string random_text(std::mt19937& rng, std::size_t n) {
  std::string s(n, ' ');
  for (char& c : s) c = static_cast<char>(1 + rng() % 255);
  return s;
}

}  // namespace tambre::test
