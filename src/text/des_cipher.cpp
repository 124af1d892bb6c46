// DES with precomputed tables: the initial and final permutations as eight 256-entry
// tables of 64-bit masks (one per byte of the block), and eight 64-entry tables that apply
// one S-box and the P permutation at once. The expansion E needs no table: each S-box
// reads six neighbouring bits of the (rotated) right half.
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

constexpr std::uint64_t bit64(int position) { return std::uint64_t{1} << (64 - position); }

// For each byte of the input block and each value of it, the output bits it sets.
using byte_permutation = std::array<std::array<std::uint64_t, 256>, 8>;

constexpr byte_permutation make_byte_permutation(const std::uint8_t (&source_of)[64], bool inverse) {
  // to[i]: where input bit i (1-based) lands.
  std::uint8_t to[65] = {};
  for (int out = 1; out <= 64; ++out) {
    if (inverse) {
      to[out] = source_of[out - 1];
    } else {
      to[source_of[out - 1]] = static_cast<std::uint8_t>(out);
    }
  }
  byte_permutation t{};
  for (int byte = 0; byte < 8; ++byte) {
    for (int value = 0; value < 256; ++value) {
      std::uint64_t mask = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (value & (0x80 >> bit)) mask |= bit64(to[byte * 8 + bit + 1]);
      }
      t[byte][value] = mask;
    }
  }
  return t;
}

constexpr byte_permutation ip_table = make_byte_permutation(initial_permutation, false);
// The final permutation is the inverse of the initial one.
constexpr byte_permutation fp_table = make_byte_permutation(initial_permutation, true);

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

inline std::uint64_t permute(const byte_permutation& t, std::uint64_t v) {
  return t[0][v >> 56] | t[1][(v >> 48) & 0xFF] | t[2][(v >> 40) & 0xFF] | t[3][(v >> 32) & 0xFF] |
         t[4][(v >> 24) & 0xFF] | t[5][(v >> 16) & 0xFF] | t[6][(v >> 8) & 0xFF] | t[7][v & 0xFF];
}

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

inline std::uint64_t load_be64(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
  return v;
}

inline void store_be64(unsigned char* p, std::uint64_t v) {
  for (int i = 7; i >= 0; --i, v >>= 8) p[i] = static_cast<unsigned char>(v);
}

}  // namespace

void des_set_key(const unsigned char key[8], des_schedule& schedule) {
  const std::uint64_t k = load_be64(key);
  std::uint32_t c = 0, d = 0;  // 28 bits each
  for (int i = 0; i < 28; ++i) {
    c = c << 1 | static_cast<std::uint32_t>((k >> (64 - permuted_choice_1[i])) & 1);
    d = d << 1 | static_cast<std::uint32_t>((k >> (64 - permuted_choice_1[28 + i])) & 1);
  }
  for (int round = 0; round < 16; ++round) {
    for (int s = 0; s < key_shifts[round]; ++s) {
      c = ((c << 1) | (c >> 27)) & 0x0FFFFFFF;
      d = ((d << 1) | (d >> 27)) & 0x0FFFFFFF;
    }
    const std::uint64_t cd = static_cast<std::uint64_t>(c) << 28 | d;  // 56 bits, bit 1 at 2^55
    schedule.even[round] = 0;
    schedule.odd[round] = 0;
    for (int group = 0; group < 8; ++group) {
      std::uint32_t six = 0;
      for (int bit = 0; bit < 6; ++bit) six = six << 1 | ((cd >> (56 - permuted_choice_2[group * 6 + bit])) & 1);
      const int shift = 26 - 8 * (group / 2);
      (group % 2 == 0 ? schedule.even : schedule.odd)[round] |= six << shift;
    }
  }
}

void des_ecb(const des_schedule& schedule, bool decrypt, const unsigned char* in, unsigned char* out,
             std::size_t blocks) {
  for (std::size_t b = 0; b < blocks; ++b, in += 8, out += 8) {
    const std::uint64_t block = permute(ip_table, load_be64(in));
    std::uint32_t l = static_cast<std::uint32_t>(block >> 32);
    std::uint32_t r = static_cast<std::uint32_t>(block);
    const std::uint32_t* even = schedule.even;
    const std::uint32_t* odd = schedule.odd;
    if (decrypt) {
      for (int round = 15; round > 0; round -= 2) {
        l ^= feistel(r, even[round], odd[round]);
        r ^= feistel(l, even[round - 1], odd[round - 1]);
      }
    } else {
      for (int round = 0; round < 16; round += 2) {
        l ^= feistel(r, even[round], odd[round]);
        r ^= feistel(l, even[round + 1], odd[round + 1]);
      }
    }
    // The last round's halves stay unswapped: R16 L16 goes into the final permutation.
    store_be64(out, permute(fp_table, static_cast<std::uint64_t>(r) << 32 | l));
  }
}

}  // namespace tambre::text
