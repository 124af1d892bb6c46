#pragma once
// DES (the 64-bit block cipher of FIPS 46-3) in electronic-codebook mode. The schedule
// lives with the caller; the permutation and substitution tables are constant and built at
// compile time, so any number of threads may cipher at once.

#include <cstddef>
#include <cstdint>

namespace tambre::text {

struct des_schedule {
  // Per round the 48-bit subkey, its eight 6-bit groups placed where the round function
  // reads them: groups 0, 2, 4, 6 in even[], groups 1, 3, 5, 7 in odd[] (bits 31..26,
  // 23..18, 15..10, 7..2), so one XOR keys four S-boxes.
  std::uint32_t even[16];
  std::uint32_t odd[16];
};

// The eight key bytes are the 64-bit key; their lowest bits (parity) are ignored.
void des_set_key(const unsigned char key[8], des_schedule& schedule);

// Ciphers `blocks` whole 8-byte blocks; `out` may be `in`.
void des_ecb(const des_schedule& schedule, bool decrypt, const unsigned char* in, unsigned char* out,
             std::size_t blocks);

}  // namespace tambre::text
