// Dotted IPv4 text: the parsing rules in a table, and every canonical dotted quad checked
// against the platform's own inet_pton and against a round trip through ipaddr.
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

struct parse_case {
  const char* name;
  const char* text;
  unsigned int expected;
};

TEST(Inetaddr, ParsesDottedTextByItsRules) {
  const parse_case cases[] = {
      {"ordinary", "192.168.1.10", 0x0A01A8C0u},
      {"all zero", "0.0.0.0", 0},
      {"broadcast equals the failure value", "255.255.255.255", invalid},
      {"octet above 255", "256.1.1.1", invalid},
      {"three pieces", "1.2.3", invalid},
      {"five pieces", "1.2.3.4.5", invalid},
      {"letters", "a.b.c.d", invalid},
      {"empty pieces are skipped", "1..2.3.4", 0x04030201u},
      {"leading and trailing dots", ".1.2.3.4.", 0x04030201u},
      {"trailing characters in a piece", "10.0.0.1x", 0x0100000Au},
      {"leading blanks and a plus sign", " 10.+0. 0.1", 0x0100000Au},
      {"minus sign", "10.-1.0.1", invalid},
      {"minus zero is zero", "10.-0.0.1", 0x0100000Au},
      {"leading zeros are decimal", "010.008.000.001", 0x0100080Au},
      {"piece without digits", "10.x.0.1", invalid},
      {"empty", "", invalid},
      {"only dots", "....", invalid},
      {"huge piece", "99999999999999999999.1.1.1", invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(inetaddr(c.text), c.expected) << c.name << ": " << c.text;
  EXPECT_EQ(inetaddr(nullptr), invalid);
}

TEST(Inetaddr, JudgesOnlyTheFirst31Characters) {
  // A fifth piece behind character 31 is never seen.
  const std::string padded = "1.2.3.4" + std::string(24, ' ');
  ASSERT_EQ(padded.size(), 31u);
  EXPECT_EQ(inetaddr((padded + ".5").c_str()), 0x04030201u);
  // A last piece cut after its leading zeros reads as 0.
  EXPECT_EQ(inetaddr(("1.2.3." + std::string(25, '0') + "45").c_str()), 0x00030201u);
  // The fourth piece begins behind the cut: three pieces.
  EXPECT_EQ(inetaddr((std::string(28, '0') + "1.2.3.4").c_str()), invalid);
  EXPECT_EQ(inetaddr((std::string(24, '0') + "1.2.3.4").c_str()), 0x04030201u);
}

TEST(Inetaddr, AgreesWithInetPtonOnRandomQuads) {
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
    // And back: the text of the address is the canonical text.
    ASSERT_STREQ(ipaddr(bytes), text.c_str());
  }
}

struct format_case {
  const char* name;
  unsigned int address;
  const char* expected;
};

TEST(Ipaddr, FormatsLowestByteFirst) {
  const format_case cases[] = {
      {"ordinary", 0x0A01A8C0u, "192.168.1.10"},
      {"zero", 0, "0.0.0.0"},
      {"all ones", 0xFFFFFFFFu, "255.255.255.255"},
      {"loopback", 0x0100007Fu, "127.0.0.1"},
  };
  for (const auto& c : cases) EXPECT_STREQ(ipaddr(c.address), c.expected) << c.name;
}

TEST(Ipaddr, SharesOneBufferBetweenCalls) {
  const char* first = ipaddr(0x0100007Fu);
  const char* second = ipaddr(0x0A01A8C0u);
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "192.168.1.10");
}

}  // namespace
