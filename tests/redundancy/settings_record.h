#pragma once
// A redundancy settings record with every byte set, and its field-by-field comparison.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tambre32/redundancy.h"

namespace redundancy_test {

inline RedundancySettings filled(const char* remote, std::int16_t mode, std::uint16_t port, std::int32_t timeout) {
  RedundancySettings s;
  std::memset(&s, 0, sizeof s);
  std::strcpy(s.RemoteMachine, remote);
  s.Mode = mode;
  s.IPPort = port;
  s.AliveTimeout = timeout;
  return s;
}

inline void expect_same(const RedundancySettings& actual, const RedundancySettings& expected) {
  EXPECT_STREQ(actual.RemoteMachine, expected.RemoteMachine);
  EXPECT_EQ(actual.Mode, expected.Mode) << expected.RemoteMachine;
  EXPECT_EQ(actual.IPPort, expected.IPPort) << expected.RemoteMachine;
  EXPECT_EQ(actual.AliveTimeout, expected.AliveTimeout) << expected.RemoteMachine;
}

}  // namespace redundancy_test
