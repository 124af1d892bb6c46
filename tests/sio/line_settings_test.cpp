// The whole line-settings record and the time-outs a configuration string asks for, as
// Open hands them to the platform. (A pseudo-terminal keeps only part of them; the port
// tests read back that part.)
#include <gtest/gtest.h>

#include <string>

#include "settings_cases.h"
#include "sio/line_settings.h"

namespace {

using namespace tambre::sio;

TEST(LineSettings, EveryFieldAsTheStringSays) {
  for (const auto& c : sio_test::settings_cases) {
    const std::string config = std::string("COM1") + (c.settings[0] ? ":" : "") + c.settings;
    const open_settings s = read_open_settings(config.c_str());
    const DCB dcb = line_settings(s);
    EXPECT_EQ(dcb.DCBlength, sizeof(DCB)) << c.name;
    EXPECT_EQ(dcb.BaudRate, c.baudrate) << c.name;
    EXPECT_EQ(dcb.fBinary, 1u) << c.name;
    EXPECT_EQ(dcb.Parity, c.parity) << c.name;
    EXPECT_EQ(dcb.fParity != 0, c.parity_check) << c.name;
    EXPECT_EQ(dcb.ByteSize, c.data_bits) << c.name;
    EXPECT_EQ(dcb.StopBits, c.stop_bits) << c.name;
    EXPECT_EQ(dcb.fDtrControl, c.dtr_control()) << c.name;
    EXPECT_EQ(dcb.fRtsControl, c.rts_control()) << c.name;
    EXPECT_EQ(dcb.fOutxCtsFlow != 0, c.has('C')) << c.name;
    EXPECT_EQ(dcb.fOutxDsrFlow != 0, c.has('d')) << c.name;
    EXPECT_EQ(dcb.fOutX != 0, c.has('X')) << c.name;
    EXPECT_EQ(dcb.fInX != 0, c.has('X')) << c.name;
    EXPECT_EQ(dcb.XonLim, c.has('X') ? 100 : 0) << c.name;
    EXPECT_EQ(dcb.XoffLim, c.has('X') ? 100 : 0) << c.name;
    EXPECT_EQ(dcb.XonChar, 0x11) << c.name;
    EXPECT_EQ(dcb.XoffChar, 0x13) << c.name;
    EXPECT_EQ(dcb.ErrorChar, 0) << c.name;
    EXPECT_EQ(dcb.EofChar, 0) << c.name;
    EXPECT_EQ(dcb.EvtChar, 0) << c.name;
    EXPECT_EQ(dcb.fAbortOnError, 0u) << c.name;
    EXPECT_EQ(dcb.fNull, 0u) << c.name;
    EXPECT_EQ(dcb.fErrorChar, 0u) << c.name;
    EXPECT_EQ(dcb.fTXContinueOnXoff, 0u) << c.name;
    EXPECT_EQ(dcb.fDsrSensitivity, 0u) << c.name;

    const COMMTIMEOUTS t = line_timeouts(s);
    EXPECT_EQ(t.ReadIntervalTimeout, MAXDWORD) << c.name;
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u) << c.name;
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 0u) << c.name;
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, c.write_multiplier) << c.name;
    EXPECT_EQ(t.WriteTotalTimeoutConstant, c.write_constant) << c.name;
  }
}

}  // namespace
