// Dotted IPv4 text: the parsing rules, and random quads against inet_pton and back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

#include "tambre32/net.h"

namespace {

constexpr unsigned int invalid = 0xFFFFFFFFu;

TEST(Inetaddr, ParsesDottedTextByItsRules) {
  const struct {
    const char* text;
    unsigned int expected;
  } cases[] = {
      {"255.255.255.255", invalid},
      {"256.1.1.1", invalid},
      {"1.2.3", invalid},
      {"1.2.3.4.5", invalid},
      {".1..2.3.4.", 0x04030201u},
      {"10.0.0.1x", 0x0100000Au},
      {" 10.+0. 0.1", 0x0100000Au},
      {"10.-1.0.1", invalid},
      {"10.-0.0.1", 0x0100000Au},
      {"010.008.000.001", 0x0100080Au},
      {"10.x.0.1", invalid},
      {"", invalid},
      {"99999999999999999999.1.1.1", invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(inetaddr(c.text), c.expected) << c.text;
  EXPECT_EQ(inetaddr(nullptr), invalid);
  // Only the first 31 characters count: a fifth piece or the digits of a fourth behind
  // them are never seen.
  EXPECT_EQ(inetaddr(("1.2.3.4" + std::string(24, ' ') + ".5").c_str()), 0x04030201u);
  EXPECT_EQ(inetaddr(("1.2.3." + std::string(25, '0') + "45").c_str()), 0x00030201u);
  EXPECT_EQ(inetaddr((std::string(28, '0') + "1.2.3.4").c_str()), invalid);
  EXPECT_EQ(inetaddr((std::string(24, '0') + "1.2.3.4").c_str()), 0x04030201u);
}

TEST(Inetaddr, AgreesWithInetPtonAndIpaddrOnRandomQuads) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> octet(0, 255);
  for (int i = 0; i < 5000; ++i) {
    const std::string text = std::to_string(octet(random)) + "." + std::to_string(octet(random)) + "." +
                             std::to_string(octet(random)) + "." + std::to_string(octet(random));
    in_addr expected{};
    ASSERT_EQ(inet_pton(AF_INET, text.c_str(), &expected), 1) << text;
    std::uint32_t bytes;
    std::memcpy(&bytes, &expected, 4);
    ASSERT_EQ(inetaddr(text.c_str()), bytes) << text;
    ASSERT_STREQ(ipaddr(bytes), text.c_str());
  }
  EXPECT_STREQ(ipaddr(0xFFFFFFFFu), "255.255.255.255");
  EXPECT_EQ(ipaddr(0x0100007Fu), ipaddr(0)) << "one buffer shared between calls";
}

}  // namespace
