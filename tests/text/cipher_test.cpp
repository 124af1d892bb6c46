// CryptData: the rules around lengths, keys and flags; the ciphers themselves are
// compared with OpenSSL in cipher_oracle_test.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "random_bytes.h"
#include "tambre32/encoding.h"

namespace {

std::vector<unsigned char> from_hex(const char* hex) {
  std::vector<unsigned char> v;
  for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
    v.push_back(static_cast<unsigned char>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
  }
  return v;
}

// DES keys with zero bytes cannot be key texts; every key below has none.
std::string key_text(const char* hex) {
  const auto bytes = from_hex(hex);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<unsigned char> des(const char* key_hex, const std::vector<unsigned char>& in, bool decrypt) {
  std::string key = key_text(key_hex);
  std::vector<unsigned char> out(in.size() + 8, 0xEE);
  const int n = CryptData(TAMBRE_CRYPT_DES, out.data(), in.data(), static_cast<int>(in.size()), key.data(),
                          decrypt ? TAMBRE_CRYPT_DECRYPT : 0);
  out.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return out;
}

// One published answer each for builds without the OpenSSL comparison of
// cipher_oracle_test.cpp: the worked DES example and RFC 6229's 40-bit RC4 key stream.
TEST(CryptData, PublishedAnswers) {
  EXPECT_EQ(des("133457799BBCDFF1", from_hex("0123456789ABCDEF"), false), from_hex("85E813540F0AB405"));
  EXPECT_EQ(des("133457799BBCDFF1", from_hex("85E813540F0AB405"), true), from_hex("0123456789ABCDEF"));
  std::string key = key_text("0102030405");
  std::vector<unsigned char> zeros(16, 0), out(16);
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, out.data(), zeros.data(), 16, key.data(), 0), 16);
  EXPECT_EQ(out, from_hex("B2396305F03DC027CCC3524A0A1118A8"));
}

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

TEST(CryptData, ReverseFlagUsesTheMirroredKeyAndLeavesTheCallersText) {
  const unsigned char input[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int method : {TAMBRE_CRYPT_DES, TAMBRE_CRYPT_RC4}) {
    char key[] = "Geheim12";
    std::string mirrored = "21mieheG";  // the key backwards
    unsigned char reversed_out[16], plain_out[16];
    ASSERT_EQ(CryptData(method, reversed_out, input, 16, key, TAMBRE_CRYPT_REVERSE_KEY), 16) << method;
    EXPECT_STREQ(key, "Geheim12") << method;
    ASSERT_EQ(CryptData(method, plain_out, input, 16, mirrored.data(), 0), 16) << method;
    EXPECT_EQ(std::memcmp(reversed_out, plain_out, 16), 0) << method;
  }
}

TEST(CryptData, OutputOverTheInputEqualsSeparateBuffers) {
  std::mt19937 rng(5);
  const auto data = tambre::test::random_bytes(rng, 1003);
  for (int method : {TAMBRE_CRYPT_DES, TAMBRE_CRYPT_RC4}) {
    std::string key = "Kl4ppe!9";
    std::vector<unsigned char> separate(data.size() + 8), in_place(data);
    in_place.resize(data.size() + 8);
    const int n = CryptData(method, separate.data(), data.data(), static_cast<int>(data.size()), key.data(), 0);
    EXPECT_EQ(CryptData(method, in_place.data(), in_place.data(), static_cast<int>(data.size()), key.data(), 0), n);
    EXPECT_EQ(std::memcmp(separate.data(), in_place.data(), static_cast<std::size_t>(n)), 0) << method;
  }
}

}  // namespace
