// CryptData beside OpenSSL's DES-ECB and RC4 on random keys, lengths and data. OpenSSL 3
// keeps both ciphers in its legacy corner; the low-level calls still work and are only
// deprecated, which this one oracle test accepts.
#include <gtest/gtest.h>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
#include <openssl/des.h>
#include <openssl/rc4.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "random_bytes.h"
#include "tambre32/encoding.h"

namespace {

// Key texts: eight (DES) or 3-64 (RC4) random non-zero bytes.
using tambre::test::random_bytes;
using tambre::test::random_text;

std::vector<unsigned char> openssl_des(const std::string& key, std::vector<unsigned char> data, bool decrypt) {
  DES_cblock key_block;
  std::memcpy(key_block, key.data(), 8);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&key_block, &schedule);
  data.resize((data.size() + 7) / 8 * 8, 0);
  for (std::size_t i = 0; i < data.size(); i += 8) {
    DES_cblock in, out;
    std::memcpy(in, data.data() + i, 8);
    DES_ecb_encrypt(&in, &out, &schedule, decrypt ? DES_DECRYPT : DES_ENCRYPT);
    std::memcpy(data.data() + i, out, 8);
  }
  return data;
}

TEST(CipherOracle, DesEcbEqualsOpenSsl) {
  std::mt19937 rng(46);
  for (int round = 0; round < 500; ++round) {
    std::string key = random_text(rng, 8);
    const auto data = random_bytes(rng, rng() % 200);
    const bool decrypt = round % 2 == 1;
    auto input = data;
    if (decrypt) input.resize(input.size() / 8 * 8);
    std::vector<unsigned char> ours(input.size() + 8);
    const int n = CryptData(TAMBRE_CRYPT_DES, ours.data(), input.data(), static_cast<int>(input.size()), key.data(),
                            decrypt ? TAMBRE_CRYPT_DECRYPT : 0);
    ASSERT_GE(n, 0);
    ours.resize(static_cast<std::size_t>(n));
    ASSERT_EQ(ours, openssl_des(key, input, decrypt)) << "round " << round;
  }
}

TEST(CipherOracle, Rc4EqualsOpenSsl) {
  std::mt19937 rng(4);
  for (int round = 0; round < 500; ++round) {
    // Beyond 256 characters the key's tail never reaches the state.
    std::string key = random_text(rng, 3 + rng() % (round % 10 == 0 ? 400 : 62));
    const auto data = random_bytes(rng, rng() % 3000);
    std::vector<unsigned char> ours(data.size()), theirs(data.size());
    ASSERT_EQ(CryptData(TAMBRE_CRYPT_RC4, ours.data(), data.data(), static_cast<int>(data.size()), key.data(), 0),
              static_cast<int>(data.size()));
    RC4_KEY state;
    RC4_set_key(&state, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
    RC4(&state, data.size(), data.data(), theirs.data());
    ASSERT_EQ(ours, theirs) << "round " << round << " key length " << key.size();
  }
}

}  // namespace

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
