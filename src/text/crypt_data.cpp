// CryptData: DES-ECB and RC4 over the caller's buffers. Every table is constant and every
// schedule and state lives on this call's stack, so calls on several threads never meet.
#include <climits>
#include <cstring>

#include "tambre32/encoding.h"
#include "text/des_cipher.h"
#include "text/rc4_cipher.h"

namespace {

constexpr int key_length_error = -1;
// Null buffers or a negative length: not a result the cipher defines, so a code of its own.
constexpr int argument_error = -2;
constexpr int block_length_error = -3;

// The key bytes the cipher sees: the caller's text, or its mirror image for the reverse
// flag. The mirror is built in a copy, so the caller's text is never written, not even
// for a moment (another thread may be reading it). RC4 reads at most 256 key bytes.
struct cipher_key {
  unsigned char bytes[256];
  std::size_t length;  // the whole text's length
  std::size_t used;    // bytes held, min(length, 256)

  cipher_key(const char* text, bool reverse) : length(std::strlen(text)), used(length < 256 ? length : 256) {
    for (std::size_t i = 0; i < used; ++i) {
      bytes[i] = static_cast<unsigned char>(reverse ? text[length - 1 - i] : text[i]);
    }
  }
};

// The key has eight characters.
int des_data(unsigned char* out, const unsigned char* in, int length, const cipher_key& key, bool decrypt) {
  if (decrypt && length % 8 != 0) return block_length_error;
  if (length > INT_MAX - 7) return argument_error;
  tambre::text::des_schedule schedule;
  tambre::text::des_set_key(key.bytes, schedule);
  const std::size_t whole = static_cast<std::size_t>(length) / 8;
  const std::size_t rest = static_cast<std::size_t>(length) % 8;
  tambre::text::des_ecb(schedule, decrypt, in, out, whole);
  if (rest != 0) {
    unsigned char last[8] = {};
    std::memcpy(last, in + whole * 8, rest);
    tambre::text::des_ecb(schedule, decrypt, last, out + whole * 8, 1);
  }
  return static_cast<int>((whole + (rest != 0 ? 1 : 0)) * 8);
}

int rc4_data(unsigned char* out, const unsigned char* in, int length, const cipher_key& key) {
  tambre::text::rc4_state state;
  tambre::text::rc4_set_key(key.bytes, key.used, state);
  tambre::text::rc4_apply(state, in, out, static_cast<std::size_t>(length));
  return length;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) CryptData(int method, void* out, const void* in, int length, char* key, int flags) {
  if (method != TAMBRE_CRYPT_DES && method != TAMBRE_CRYPT_RC4) return 0;
  if (key == nullptr) return key_length_error;
  const cipher_key used_key(key, (flags & TAMBRE_CRYPT_REVERSE_KEY) != 0);
  // DES takes exactly eight key characters, RC4 at least three.
  const bool key_fits = method == TAMBRE_CRYPT_DES ? used_key.length == 8 : used_key.length >= 3;
  if (!key_fits) return key_length_error;
  if (length < 0 || (length > 0 && (out == nullptr || in == nullptr))) return argument_error;
  auto* dst = static_cast<unsigned char*>(out);
  const auto* src = static_cast<const unsigned char*>(in);
  if (method == TAMBRE_CRYPT_DES) return des_data(dst, src, length, used_key, (flags & TAMBRE_CRYPT_DECRYPT) != 0);
  return rc4_data(dst, src, length, used_key);
}
