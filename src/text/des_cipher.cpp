// DES with precomputed tables: eight 64-entry tables that apply one S-box and the P
// permutation at once, and byte tables for the key schedule's permuted choices. The
// expansion E needs no table (each S-box reads six neighbouring bits of the rotated right
// half) and the initial and final permutations are five bit-group exchanges, checked
// against the standard table at compile time.
#include "text/des_cipher.h"

#include <array>

namespace tambre::text {
namespace {

// The standard tables, bit numbers counted from 1 at the most significant bit.
constexpr std::uint8_t initial_permutation[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                                  62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                                  57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                                  61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::uint8_t p_permutation[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                            2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t permuted_choice_1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1, 58, 50, 42, 34, 26, 18, 10, 2, 59, 51, 43, 35, 27, 19, 11, 3, 60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7, 62, 54, 46, 38, 30, 22, 14, 6, 61, 53, 45, 37, 29, 21, 13, 5, 28, 20, 12, 4};

constexpr std::uint8_t permuted_choice_2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                                26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                                51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t key_shifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr std::uint8_t s_boxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8, 14, 6,  11, 3,  4, 9, 7, 2,  13, 12, 0, 5, 10, 3,  13, 4,  7, 15, 2,  8, 14, 12, 0, 1, 10, 6, 9, 11, 5,
     0,  14, 7, 11, 10, 4,  13, 1, 5, 8, 12, 6,  9,  3, 2, 15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6, 7, 12, 0, 5, 14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0, 8, 13, 3,  12, 9, 7, 5, 10, 6, 1, 13, 0,  11, 7, 4, 9, 1,  10, 14, 3, 5, 12, 2,  15, 8, 6,
     1, 4,  11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5,  9, 2, 6,  11, 13, 8, 1, 4, 10, 7,  9,  5, 0, 15, 14, 2,  3, 12},
    {13, 2, 8, 4, 6,  15, 11, 1, 10, 9,  3,  14, 5, 0, 12, 7, 1, 15, 13, 8, 10, 3, 7,  4,  12, 5, 6, 11, 0, 14, 9, 2, 7,
     11, 4, 1, 9, 12, 14, 2,  0, 6,  10, 13, 15, 3, 5, 8,  2, 1, 14, 7,  4, 10, 8, 13, 15, 12, 9, 0, 3,  5, 6,  11}};

using sp_boxes = std::array<std::array<std::uint32_t, 64>, 8>;

constexpr sp_boxes make_sp_boxes() {
  sp_boxes t{};
  for (int box = 0; box < 8; ++box) {
    for (int in = 0; in < 64; ++in) {
      // Row from the outer bits, column from the inner four.
      const int row = (in >> 4 & 2) | (in & 1);
      const int column = in >> 1 & 0x0F;
      const std::uint32_t s_out = static_cast<std::uint32_t>(s_boxes[box][row * 16 + column]) << (28 - 4 * box);
      std::uint32_t permuted = 0;
      for (int out = 1; out <= 32; ++out) {
        if (s_out & (std::uint32_t{1} << (32 - p_permutation[out - 1]))) permuted |= std::uint32_t{1} << (32 - out);
      }
      t[box][in] = permuted;
    }
  }
  return t;
}

constexpr sp_boxes sp = make_sp_boxes();

// The key schedule's permuted choices as byte tables: PC-1 from the eight key bytes to the
// 56-bit C|D register, PC-2 from its seven bytes straight to the placed round-key words.
using choice_1_table = std::array<std::array<std::uint64_t, 256>, 8>;

constexpr choice_1_table make_choice_1() {
  choice_1_table t{};
  for (int out = 1; out <= 56; ++out) {
    const int in = permuted_choice_1[out - 1] - 1;  // 0-based key bit, MSB first
    for (int value = 0; value < 256; ++value) {
      if (value & (0x80 >> (in % 8))) t[in / 8][value] |= std::uint64_t{1} << (56 - out);
    }
  }
  return t;
}

// Each entry holds the even groups' bits in its low word and the odd groups' in its high
// word, so one OR gathers both.
using choice_2_table = std::array<std::array<std::uint64_t, 256>, 7>;

constexpr choice_2_table make_choice_2() {
  choice_2_table t{};
  for (int out = 0; out < 48; ++out) {
    const int in = permuted_choice_2[out] - 1;  // 0-based bit of C|D, MSB first
    const int group = out / 6;
    const std::uint64_t bit = std::uint64_t{1} << (26 - 8 * (group / 2) + (5 - out % 6) + (group % 2) * 32);
    for (int value = 0; value < 256; ++value) {
      if (value & (0x80 >> (in % 8))) t[in / 8][value] |= bit;
    }
  }
  return t;
}

constexpr choice_1_table choice_1 = make_choice_1();
constexpr choice_2_table choice_2 = make_choice_2();

inline std::uint32_t rotl(std::uint32_t v, int n) { return v << n | v >> (32 - n); }

// f(R, K) = P(S(E(R) xor K)). Group i of E(R) is bits 4i..4i+5 of R (bit 0 meaning 32):
// the even groups lie 8 bits apart in R rotated right by 1, the odd ones in R rotated
// left by 3, so each rotation keyed once feeds four S-boxes.
inline std::uint32_t feistel(std::uint32_t r, std::uint32_t even_key, std::uint32_t odd_key) {
  const std::uint32_t a = rotl(r, 31) ^ even_key;
  const std::uint32_t b = rotl(r, 3) ^ odd_key;
  return sp[0][a >> 26] | sp[2][(a >> 18) & 0x3F] | sp[4][(a >> 10) & 0x3F] | sp[6][(a >> 2) & 0x3F] | sp[1][b >> 26] |
         sp[3][(b >> 18) & 0x3F] | sp[5][(b >> 10) & 0x3F] | sp[7][(b >> 2) & 0x3F];
}

}  // namespace

void des_set_key(const unsigned char key[8], des_schedule& schedule) {
  std::uint64_t cd = 0;
  for (int i = 0; i < 8; ++i) cd |= choice_1[i][key[i]];
  std::uint32_t c = static_cast<std::uint32_t>(cd >> 28), d = static_cast<std::uint32_t>(cd & 0x0FFFFFFF);
  // Unrolled, every rotation has a constant count.
#pragma GCC unroll 16
  for (int round = 0; round < 16; ++round) {
    const int shift = key_shifts[round];
    c = ((c << shift) | (c >> (28 - shift))) & 0x0FFFFFFF;
    d = ((d << shift) | (d >> (28 - shift))) & 0x0FFFFFFF;
    const std::uint64_t rotated = static_cast<std::uint64_t>(c) << 28 | d;  // bit 1 at 2^55
    std::uint64_t placed = 0;
    for (int i = 0; i < 7; ++i) placed |= choice_2[i][(rotated >> (48 - 8 * i)) & 0xFF];
    schedule.even[round] = static_cast<std::uint32_t>(placed);
    schedule.odd[round] = static_cast<std::uint32_t>(placed >> 32);
  }
}

// Swaps the bits of b selected by mask with the bits of a that lie n places higher.
constexpr void swap_bits(std::uint32_t& a, std::uint32_t& b, int n, std::uint32_t mask) {
  const std::uint32_t t = ((a >> n) ^ b) & mask;
  b ^= t;
  a ^= t << n;
}

// The initial permutation as five bit-group exchanges between the halves (no tables); the
// final permutation is the same exchanges in reverse order.
constexpr void initial_permutation_of(std::uint32_t& l, std::uint32_t& r) {
  swap_bits(l, r, 4, 0x0F0F0F0F);
  swap_bits(l, r, 16, 0x0000FFFF);
  swap_bits(r, l, 2, 0x33333333);
  swap_bits(r, l, 8, 0x00FF00FF);
  swap_bits(l, r, 1, 0x55555555);
}

constexpr void final_permutation_of(std::uint32_t& l, std::uint32_t& r) {
  swap_bits(l, r, 1, 0x55555555);
  swap_bits(r, l, 8, 0x00FF00FF);
  swap_bits(r, l, 2, 0x33333333);
  swap_bits(l, r, 16, 0x0000FFFF);
  swap_bits(l, r, 4, 0x0F0F0F0F);
}

// The exchanges move every bit where the standard table says, and back.
constexpr bool permutations_match_the_table() {
  for (int in = 1; in <= 64; ++in) {
    std::uint32_t l = in <= 32 ? std::uint32_t{1} << (32 - in) : 0;
    std::uint32_t r = in > 32 ? std::uint32_t{1} << (64 - in) : 0;
    initial_permutation_of(l, r);
    int out = 0;
    for (int k = 1; k <= 32; ++k) {
      if (l & (std::uint32_t{1} << (32 - k))) out = k;
      if (r & (std::uint32_t{1} << (32 - k))) out = 32 + k;
    }
    if (out == 0 || initial_permutation[out - 1] != in) return false;
    final_permutation_of(l, r);
    if (l != (in <= 32 ? std::uint32_t{1} << (32 - in) : 0)) return false;
  }
  return true;
}
static_assert(permutations_match_the_table(), "initial permutation network");

inline std::uint32_t load_be32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

inline void store_be32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

namespace {

// Ciphers N blocks side by side: ECB blocks are independent, and interleaving their round
// chains lets the processor overlap the table look-ups of one with those of the others.
template <int N>
inline void des_blocks(const std::uint32_t* even, const std::uint32_t* odd, bool decrypt, const unsigned char* in,
                       unsigned char* out) {
  std::uint32_t l[N], r[N];
  for (int k = 0; k < N; ++k) {
    l[k] = load_be32(in + 8 * k);
    r[k] = load_be32(in + 8 * k + 4);
    initial_permutation_of(l[k], r[k]);
  }
  for (int step = 0; step < 16; step += 2) {
    const int first = decrypt ? 15 - step : step;
    const int second = decrypt ? first - 1 : first + 1;
    for (int k = 0; k < N; ++k) l[k] ^= feistel(r[k], even[first], odd[first]);
    for (int k = 0; k < N; ++k) r[k] ^= feistel(l[k], even[second], odd[second]);
  }
  for (int k = 0; k < N; ++k) {
    // The last round's halves stay unswapped: R16 L16 goes into the final permutation.
    final_permutation_of(r[k], l[k]);
    store_be32(out + 8 * k, r[k]);
    store_be32(out + 8 * k + 4, l[k]);
  }
}

}  // namespace

void des_ecb(const des_schedule& schedule, bool decrypt, const unsigned char* in, unsigned char* out,
             std::size_t blocks) {
  std::size_t b = 0;
  for (; b + 4 <= blocks; b += 4) des_blocks<4>(schedule.even, schedule.odd, decrypt, in + 8 * b, out + 8 * b);
  for (; b < blocks; ++b) des_blocks<1>(schedule.even, schedule.odd, decrypt, in + 8 * b, out + 8 * b);
}

}  // namespace tambre::text
