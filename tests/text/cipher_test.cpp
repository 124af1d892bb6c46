// CryptData: the rules around lengths, keys and flags, and one published RC4 key stream; the
// ciphers themselves are compared with OpenSSL in cipher_oracle_test.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "random_bytes.h"
#include "tambre32/encoding.h"

namespace {

TEST(CryptDataDes, LengthAndKeyRules) {
  unsigned char buffer[16] = {};
  unsigned char out[16];
  std::memset(out, 0xEE, sizeof out);
  std::string key8 = "12345678", key7 = "1234567", key9 = "123456789";
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, out, buffer, 7, key8.data(), TAMBRE_CRYPT_DECRYPT), -3);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, out, buffer, 8, key7.data(), 0), -1);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, out, buffer, 8, key9.data(), 0), -1);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, out, buffer, 8, nullptr, 0), -1);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, out, buffer, 0, key8.data(), 0), 0);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, out, buffer, 16, key8.data(), 0), 16);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_DES, nullptr, buffer, 8, key8.data(), 0), -2);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, out, nullptr, 8, key8.data(), 0), -2);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, out, buffer, -1, key8.data(), 0), -2);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, nullptr, nullptr, 0, key8.data(), 0), 0);
  for (int method : {0, 3, -1}) {
    unsigned char untouched[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(CryptData(method, untouched, buffer, 8, key8.data(), 0), 0) << method;
    EXPECT_EQ(untouched[0], 1) << method;
  }
}

// The key stream for key 01 02 03 04 05 as RFC 6229 publishes it: two eight-byte rounds and
// five bytes after them, on every build (the 32-bit one has no OpenSSL to compare with).
TEST(CryptDataRc4, PublishedKeyStream) {
  char key[] = "\x01\x02\x03\x04\x05";
  const unsigned char zeros[21] = {};
  unsigned char stream[21];
  ASSERT_EQ(CryptData(TAMBRE_CRYPT_RC4, stream, zeros, 21, key, 0), 21);
  const unsigned char published[21] = {0xb2, 0x39, 0x63, 0x05, 0xf0, 0x3d, 0xc0, 0x27, 0xcc, 0xc3, 0x52,
                                       0x4a, 0x0a, 0x11, 0x18, 0xa8, 0x69, 0x82, 0x94, 0x4f, 0x18};
  EXPECT_EQ(std::memcmp(stream, published, sizeof published), 0);
}

// Bit 0 has no effect on RC4: the same operation, in place, takes the text back.
TEST(CryptDataRc4, DecryptFlagAndShortKey) {
  std::string key = "Key";
  char text[] = "Plaintext";
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, text, text, 9, key.data(), 0), 9);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, text, text, 9, key.data(), TAMBRE_CRYPT_DECRYPT), 9);
  EXPECT_STREQ(text, "Plaintext");
  std::string short_key = "Ke";
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, text, text, 9, short_key.data(), 0), -1);
}

// The reversed-key flag equals the mirrored key and leaves the caller's key alone; the
// output written over the input equals separate buffers.
TEST(CryptData, ReversedKeyAndOutputOverTheInput) {
  std::mt19937 rng(5);
  const auto data = tambre::test::random_bytes(rng, 1003);
  const int n = static_cast<int>(data.size());
  for (int method : {TAMBRE_CRYPT_DES, TAMBRE_CRYPT_RC4}) {
    char key[] = "Geheim12";
    std::string mirrored = "21mieheG";
    const int length = method == TAMBRE_CRYPT_DES ? 1008 : n;
    std::vector<unsigned char> reversed(data.size() + 8), plain(data.size() + 8), in_place(data);
    in_place.resize(data.size() + 8);
    ASSERT_EQ(CryptData(method, reversed.data(), data.data(), n, key, TAMBRE_CRYPT_REVERSE_KEY), length) << method;
    EXPECT_STREQ(key, "Geheim12") << method;
    EXPECT_EQ(CryptData(method, plain.data(), data.data(), n, mirrored.data(), 0), length) << method;
    EXPECT_EQ(reversed, plain) << method;
    EXPECT_EQ(CryptData(method, in_place.data(), in_place.data(), n, mirrored.data(), 0), length) << method;
    EXPECT_EQ(in_place, plain) << method;
  }
}

}  // namespace
