// The exported link on real UDP sockets on 127.0.0.1; the decisions are the link logic's.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "tambre32/net.h"
#include "tambre32/redundancy.h"

namespace {

// A port per test, away from the default one.
std::string next_port() {
  static unsigned short port = 21990;
  return std::to_string(++port);
}

class RedundancyLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override {
    for (RedundancyHandle* handle : handles_) {
      CloseRedundancy(handle);
      CloseRedundancy(nullptr);
    }
    WSACleanup();
  }
  RedundancyHandle* open(const char* remote, const std::string& port, int mode, unsigned int timeout) {
    RedundancyHandle* handle = OpenRedundancy(remote, port.empty() ? nullptr : port.c_str(), mode, timeout, nullptr);
    if (handle != nullptr) handles_.push_back(handle);
    return handle;
  }

 private:
  std::vector<RedundancyHandle*> handles_;
};

// Sends a raw datagram to a link's port; it waits on the link's socket when the call returns.
void inject(const RedundancyHandle* link, const std::vector<unsigned char>& bytes) {
  const SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = inet_addr("127.0.0.1");
  to.sin_port = static_cast<unsigned short>(link->Port);
  EXPECT_EQ(sendto(sender, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0,
                   reinterpret_cast<const sockaddr*>(&to), sizeof to),
            static_cast<int>(bytes.size()));
  closesocket(sender);
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(static_cast<SOCKET>(link->Socket), &readable);
  timeval limit{10, 0};
  EXPECT_EQ(select(0, &readable, nullptr, nullptr, &limit), 1) << "nothing arrived in 10 s";
}

std::vector<unsigned char> announcement(unsigned char mode, unsigned int timeout, unsigned int sequence) {
  std::vector<unsigned char> bytes(32, 0);
  bytes[0] = 0x91;
  bytes[1] = 0xA0;
  bytes[2] = mode;
  for (int i = 0; i < 4; ++i) {
    bytes[4 + i] = static_cast<unsigned char>(timeout >> (8 * i));
    bytes[8 + i] = static_cast<unsigned char>(sequence >> (8 * i));
  }
  return bytes;
}

TEST_F(RedundancyLoopback, OpeningRefusesBadArgumentsFillsTheHandleAndClosingEndsOneUseOfTheSockets) {
  const std::string long_name(64, 'h');
  for (const auto& [remote, port, mode] : {std::tuple{"127.0.0.1", "0", 1},
                                           {"127.0.0.1", "65536", 1},
                                           {"127.0.0.1", "abc", 1},
                                           {long_name.c_str(), "22000", 1},
                                           {"", "22000", 1},
                                           {"127.0.0.1", "22000", 3}}) {
    EXPECT_EQ(OpenRedundancy(remote, port, mode, 300, nullptr), nullptr) << port << " " << mode;
  }
  EXPECT_EQ(QueryRedundancy(nullptr, nullptr), 0);
  RedundancyHandle* standby = open("127.0.0.1", "", 2, 0xAB00012Cu);
  ASSERT_NE(standby, nullptr);
  EXPECT_EQ(standby->Port, htons(10990)) << "no port text: the default port";
  EXPECT_EQ(standby->AliveTimeout, 300u) << "the high 8 bits are ignored";
  EXPECT_STREQ(standby->RemoteName, "127.0.0.1");
  EXPECT_EQ(standby->RemoteAddress, inet_addr("127.0.0.1"));
  EXPECT_EQ(standby->LastSend, standby->LastContact - 300) << "a standby's send clock starts one timeout back";

  RedundancyHandle* master = open("localhost", "22001", 1, 0);
  ASSERT_NE(master, nullptr) << "a host name is looked up";
  EXPECT_EQ(master->AliveTimeout, 8000u);
  EXPECT_EQ(master->RemoteAddress, inet_addr("127.0.0.1"));
  EXPECT_EQ(master->Port, htons(22001));
  EXPECT_EQ(master->LastSend, master->LastContact);
  // Address reuse: a restarted driver gets its port back at once.
  EXPECT_NE(open("127.0.0.1", "22001", 2, 300), nullptr);

  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  EXPECT_EQ(CloseRedundancy(nullptr), 0) << "ends one use of the socket library";
}

TEST_F(RedundancyLoopback, StandbyReadsWithoutWaitingAndSkipsRejectedDatagrams) {
  RedundancyHandle* standby = open("127.0.0.1", next_port(), 2, 5000);
  ASSERT_NE(standby, nullptr);
  EXPECT_EQ(QueryRedundancy(standby, nullptr), 1) << "nothing waiting: the call returns";

  inject(standby, announcement(1, 7000, 42));
  EXPECT_EQ(QueryRedundancy(standby, nullptr), 1);
  EXPECT_EQ(standby->SequenceA, 42u);
  EXPECT_EQ(standby->PeerTimeout, 7000u);

  // The socket's cut of a long datagram; it is taken off the socket and the next good one is read.
  auto too_long = announcement(1, 7000, 45);
  too_long.resize(64);
  inject(standby, too_long);
  EXPECT_EQ(QueryRedundancy(standby, nullptr), 1);
  EXPECT_EQ(standby->SequenceA, 42u) << "a rejected datagram changes nothing";
  inject(standby, announcement(1, 7000, 47));
  EXPECT_EQ(QueryRedundancy(standby, nullptr), 1);
  EXPECT_EQ(standby->SequenceA, 47u);
}

TEST_F(RedundancyLoopback, MasterAnnouncementOnTheWire) {
  RedundancyHandle* master = open("127.0.0.1", next_port(), 1, 200);
  ASSERT_NE(master, nullptr);
  const DWORD before = GetTickCount();
  EXPECT_EQ(QueryRedundancy(master, nullptr), 1);
  const DWORD after = GetTickCount();

  unsigned char bytes[64];
  const int length = recv(static_cast<SOCKET>(master->Socket), reinterpret_cast<char*>(bytes), sizeof bytes, 0);
  ASSERT_EQ(length, 32);
  const unsigned char head[12] = {0x91, 0xA0, 0x01, 0x00, 0xC8, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::memcmp(bytes, head, sizeof head), 0);
  DWORD tick;
  std::memcpy(&tick, bytes + 12, 4);
  EXPECT_LE(tick - before, after - before) << "the tick of its sending";
  EXPECT_EQ(master->SequenceA, 1u);
  EXPECT_EQ(master->Status & 1u, 1u);
}

}  // namespace
