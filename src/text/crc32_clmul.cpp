// CRC-32 by carry-less multiplication (PCLMULQDQ) on x86: 64 bytes per step are folded
// into four 128-bit lanes with the constants x^(4*128+32) and x^(4*128-32) mod P (bit-
// reflected), the lanes into one, and the last 128 bits go through the byte table, which
// gives exactly the table's result for the same start value.
#include "text/crc_tables.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace tambre::text {
namespace {

__attribute__((target("pclmul,sse2"))) inline __m128i fold(__m128i x, __m128i k, __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(x, k, 0x00);
  const __m128i high = _mm_clmulepi64_si128(x, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__attribute__((target("pclmul,sse2"))) std::uint32_t crc32_folded_impl(std::uint32_t crc, const unsigned char* p,
                                                                       std::size_t n) {
  const auto load = [](const unsigned char* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); };
  __m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = load(p + 16);
  __m128i x2 = load(p + 32);
  __m128i x3 = load(p + 48);
  p += 64;
  n -= 64;
  const __m128i k_four = _mm_set_epi64x(0x1C6E41596ll, 0x154442BD4ll);
  for (; n >= 64; n -= 64, p += 64) {
    x0 = fold(x0, k_four, load(p));
    x1 = fold(x1, k_four, load(p + 16));
    x2 = fold(x2, k_four, load(p + 32));
    x3 = fold(x3, k_four, load(p + 48));
  }
  const __m128i k_one = _mm_set_epi64x(0x0CCAA009Ell, 0x1751997D0ll);
  __m128i x = fold(x0, k_one, x1);
  x = fold(x, k_one, x2);
  x = fold(x, k_one, x3);
  for (; n >= 16; n -= 16, p += 16) x = fold(x, k_one, load(p));
  alignas(16) unsigned char lane[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(lane), x);
  return crc32_sliced(crc32_bytewise(0, lane, 16), p, n);
}

bool has_clmul() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
}

}  // namespace

std::uint32_t crc32_fast(std::uint32_t crc, const unsigned char* p, std::size_t n) {
  static const bool clmul = has_clmul();
  if (clmul && n >= 64) return crc32_folded_impl(crc, p, n);
  return crc32_sliced(crc, p, n);
}

}  // namespace tambre::text

#else

namespace tambre::text {
std::uint32_t crc32_fast(std::uint32_t crc, const unsigned char* p, std::size_t n) { return crc32_sliced(crc, p, n); }
}  // namespace tambre::text

#endif
