#include "text/rc4_cipher.h"

namespace tambre::text {

void rc4_set_key(const unsigned char* key, std::size_t length, rc4_state& state) {
  for (std::uint32_t n = 0; n < 256; ++n) state.s[n] = n;
  std::uint32_t j = 0;
  std::size_t k = 0;
  for (std::uint32_t n = 0; n < 256; ++n) {
    const std::uint32_t t = state.s[n];
    j = (j + t + key[k]) & 0xFF;
    state.s[n] = state.s[j];
    state.s[j] = t;
    if (++k == length) k = 0;
  }
  state.i = 0;
  state.j = 0;
}

void rc4_apply(rc4_state& state, const unsigned char* in, unsigned char* out, std::size_t length) {
  std::uint32_t* s = state.s;
  std::uint32_t i = state.i, j = state.j;
  for (std::size_t n = 0; n < length; ++n) {
    i = (i + 1) & 0xFF;
    const std::uint32_t si = s[i];
    j = (j + si) & 0xFF;
    const std::uint32_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    out[n] = static_cast<unsigned char>(in[n] ^ s[(si + sj) & 0xFF]);
  }
  state.i = i;
  state.j = j;
}

}  // namespace tambre::text
