// CryptData: DES known answers from the published validation sets (a few rows of the
// NBS SP 500-20 tables, and Rivest's recurrence that catches any single table fault; the
// native build also compares with OpenSSL), the RC4 key streams of RFC 6229 at offset 0,
// and the rules around lengths, keys and flags.
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

TEST(CryptDataDes, KnownAnswersOfThePublishedTables) {
  struct row {
    const char* name;
    const char* key;
    const char* plain;
    const char* cipher;
  } rows[] = {
      {"worked example", "133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
      {"variable plaintext 1", "0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
      {"variable key 1", "8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(des(r.key, from_hex(r.plain), false), from_hex(r.cipher)) << r.name;
    EXPECT_EQ(des(r.key, from_hex(r.cipher), true), from_hex(r.plain)) << r.name;
  }
}

// X0 = 9474B8E8C73BCA7D; X(i+1) = E(Xi, Xi) for even i, D(Xi, Xi) for odd i; X16 is fixed.
// The key is the block itself, so it may hold zero bytes: those runs go through the
// internal schedule via an equivalent key (parity bits are ignored, so 00 -> 01).
TEST(CryptDataDes, RivestRecurrence) {
  std::vector<unsigned char> x = from_hex("9474B8E8C73BCA7D");
  for (int i = 0; i < 16; ++i) {
    std::string key(x.begin(), x.end());
    for (char& c : key) {
      if (c == '\0') c = 1;
    }
    std::vector<unsigned char> next(8);
    ASSERT_EQ(CryptData(TAMBRE_CRYPT_DES, next.data(), x.data(), 8, key.data(), i % 2 ? TAMBRE_CRYPT_DECRYPT : 0), 8);
    x = next;
  }
  EXPECT_EQ(x, from_hex("1B1A2DDB4C642438"));
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

TEST(CryptDataRc4, KeyStreamsOfRfc6229AtOffsetZero) {
  struct row {
    const char* name;
    const char* key;
    const char* stream;
  } rows[] = {
      {"40-bit key", "0102030405", "B2396305F03DC027CCC3524A0A1118A8"},
      {"128-bit key", "0102030405060708090A0B0C0D0E0F10", "9AC7CC9A609D1EF7B2932899CDE41B97"},
  };
  for (const auto& r : rows) {
    std::string key = key_text(r.key);
    const auto expected = from_hex(r.stream);
    std::vector<unsigned char> zeros(expected.size(), 0), out(expected.size());
    EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, out.data(), zeros.data(), static_cast<int>(zeros.size()), key.data(), 0),
              static_cast<int>(zeros.size()))
        << r.name;
    EXPECT_EQ(out, expected) << r.name;
  }
}

TEST(CryptDataRc4, ThreeCharacterKeyAndTheWayBack) {
  std::string key = "Key";
  char text[] = "Plaintext";
  unsigned char out[9];
  // The output is taken over the input: encryption in place.
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, text, text, 9, key.data(), 0), 9);
  std::memcpy(out, text, 9);
  EXPECT_EQ(std::vector<unsigned char>(out, out + 9), from_hex("BBF316E8D940AF0AD3"));
  // Bit 0 has no effect: the same operation takes it back.
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, text, text, 9, key.data(), TAMBRE_CRYPT_DECRYPT), 9);
  EXPECT_STREQ(text, "Plaintext");
  std::string short_key = "Ke";
  EXPECT_EQ(CryptData(TAMBRE_CRYPT_RC4, out, out, 9, short_key.data(), 0), -1);
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
