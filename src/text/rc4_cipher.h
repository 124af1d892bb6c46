#pragma once
// The RC4 stream cipher (ARCFOUR); the state is the caller's.

#include <cstddef>
#include <cstdint>

namespace tambre::text {

struct rc4_state {
  // Entries hold byte values; full words keep the byte swaps free of partial-register work.
  std::uint32_t s[256];
  std::uint32_t i, j;
};

// The usual key scheduling, the key repeated over the 256 entries; length >= 1.
void rc4_set_key(const unsigned char* key, std::size_t length, rc4_state& state);

// XORs the next `length` key-stream bytes into the input; `out` may be `in`.
void rc4_apply(rc4_state& state, const unsigned char* in, unsigned char* out, std::size_t length);

}  // namespace tambre::text
