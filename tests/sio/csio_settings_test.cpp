// The line settings and time-outs a port gets from its configuration string, read back
// from the platform with GetCommState and GetCommTimeouts on a real (pseudo-terminal) port.
#include <gtest/gtest.h>

#include "settings_cases.h"
#include "support/pty_pair.h"
#include "tambre32/sio.h"

namespace {

// Under Wine a pseudo-terminal keeps only part of the settings; every field of the record
// Open hands over is checked in line_settings_test.cpp.
TEST(CSioSettings, AppliedAsTheStringSaysAndReadBackFromThePort) {
  tambre::test::pty_pair pair;
  ASSERT_TRUE(pair.ready()) << pair.error();
  CSio port;
  for (const auto& c : sio_test::settings_cases) {
    const std::string config = c.settings[0] ? pair.near_config(c.settings) : pair.near_name();
    ASSERT_EQ(port.Open(config.c_str(), 0), 1) << c.name << ": " << config;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port.GetHandle(), &dcb)) << c.name;
    EXPECT_EQ(dcb.BaudRate, c.baudrate) << c.name;
    if (c.stop_bits != ONE5STOPBITS) {
      EXPECT_EQ(dcb.StopBits, c.stop_bits) << c.name;
    }
    // Wine reports an RTS handshake as CTS flow control too.
    if (!c.has('R')) {
      EXPECT_EQ(dcb.fOutxCtsFlow != 0, c.has('C')) << c.name;
    }
    EXPECT_EQ(dcb.fOutX != 0, c.has('X')) << c.name;
    EXPECT_EQ(dcb.fInX != 0, c.has('X')) << c.name;

    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(GetCommTimeouts(port.GetHandle(), &timeouts)) << c.name;
    EXPECT_EQ(timeouts.ReadIntervalTimeout, MAXDWORD) << c.name;
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, c.write_multiplier) << c.name;
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, c.write_constant) << c.name;
  }
  // Changes on the open port keep the other settings.
  ASSERT_EQ(port.Open(pair.near_config("9600,N,8,2").c_str(), 0), 1);
  EXPECT_EQ(port.ChangeBaudrate(19200), 1);
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(GetCommState(port.GetHandle(), &dcb));
  EXPECT_EQ(dcb.BaudRate, 19200u);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS) << "the other settings stay";
  EXPECT_NE(port.SetAbortOnError(1), 0);
  EXPECT_NE(port.SetAbortOnError(0), 0);
  ASSERT_TRUE(GetCommState(port.GetHandle(), &dcb));
  EXPECT_EQ(dcb.BaudRate, 19200u) << "switching abort-on-error keeps the line settings";
}

}  // namespace
