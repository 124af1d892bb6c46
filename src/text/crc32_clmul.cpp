// CRC-32 by carry-less multiplication (PCLMULQDQ) on x86: 64 bytes per step are folded
// into four 128-bit lanes with the constants x^(4*128+32) and x^(4*128-32) mod P (bit-
// reflected), the lanes into one, and the last 128 bits go through the byte table, which
// gives exactly the table's result for the same start value.
#include "text/crc_tables.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace tambre::text {
namespace {

// One function without vector arguments or results, so the i686 build (whose default ABI
// has no SSE) compiles it like any other; a macro stands in for the fold helper.
#define TAMBRE_CRC_LOAD(q) _mm_loadu_si128(reinterpret_cast<const __m128i*>(q))
#define TAMBRE_CRC_FOLD(x, k, next) \
  _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128((x), (k), 0x00), _mm_clmulepi64_si128((x), (k), 0x11)), (next))

__attribute__((target("pclmul,sse2"))) std::uint32_t crc32_folded(std::uint32_t crc, const unsigned char* p,
                                                                  std::size_t n) {
  __m128i x0 = _mm_xor_si128(TAMBRE_CRC_LOAD(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = TAMBRE_CRC_LOAD(p + 16);
  __m128i x2 = TAMBRE_CRC_LOAD(p + 32);
  __m128i x3 = TAMBRE_CRC_LOAD(p + 48);
  p += 64;
  n -= 64;
  const __m128i k_four = _mm_set_epi64x(0x1C6E41596ll, 0x154442BD4ll);
  for (; n >= 64; n -= 64, p += 64) {
    x0 = TAMBRE_CRC_FOLD(x0, k_four, TAMBRE_CRC_LOAD(p));
    x1 = TAMBRE_CRC_FOLD(x1, k_four, TAMBRE_CRC_LOAD(p + 16));
    x2 = TAMBRE_CRC_FOLD(x2, k_four, TAMBRE_CRC_LOAD(p + 32));
    x3 = TAMBRE_CRC_FOLD(x3, k_four, TAMBRE_CRC_LOAD(p + 48));
  }
  const __m128i k_one = _mm_set_epi64x(0x0CCAA009Ell, 0x1751997D0ll);
  __m128i x = TAMBRE_CRC_FOLD(x0, k_one, x1);
  x = TAMBRE_CRC_FOLD(x, k_one, x2);
  x = TAMBRE_CRC_FOLD(x, k_one, x3);
  for (; n >= 16; n -= 16, p += 16) x = TAMBRE_CRC_FOLD(x, k_one, TAMBRE_CRC_LOAD(p));
  alignas(16) unsigned char lane[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(lane), x);
  return crc32_sliced(crc32_bytewise(0, lane, 16), p, n);
}

#undef TAMBRE_CRC_FOLD
#undef TAMBRE_CRC_LOAD

bool has_clmul() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
}

}  // namespace

std::uint32_t crc32_fast(std::uint32_t crc, const unsigned char* p, std::size_t n) {
  static const bool clmul = has_clmul();
  if (clmul && n >= 64) return crc32_folded(crc, p, n);
  return crc32_sliced(crc, p, n);
}

}  // namespace tambre::text

#else

namespace tambre::text {
std::uint32_t crc32_fast(std::uint32_t crc, const unsigned char* p, std::size_t n) { return crc32_sliced(crc, p, n); }
}  // namespace tambre::text

#endif
