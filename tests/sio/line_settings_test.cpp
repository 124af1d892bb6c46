// The whole line-settings record and the time-outs a configuration string asks for, as
// Open hands them to the platform (a pseudo-terminal keeps only part of them).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings_cases.h"
#include "sio/line_settings.h"

namespace {

using namespace tambre::sio;

TEST(LineSettings, EveryFieldAsTheStringSays) {
  for (const auto& c : sio_test::settings_cases) {
    const std::string config = std::string("COM1") + (c.settings[0] ? ":" : "") + c.settings;
    const open_settings s = read_open_settings(config.c_str());
    DCB expected{};  // every field not named here stays 0
    expected.DCBlength = sizeof(DCB);
    expected.BaudRate = c.baudrate;
    expected.fBinary = 1;
    expected.Parity = c.parity;
    expected.fParity = c.parity_check;
    expected.ByteSize = c.data_bits;
    expected.StopBits = c.stop_bits;
    expected.fDtrControl = c.dtr_control();
    expected.fRtsControl = c.rts_control();
    expected.fOutxCtsFlow = c.has('C');
    expected.fOutxDsrFlow = c.has('d');
    expected.fOutX = expected.fInX = c.has('X');
    expected.XonLim = expected.XoffLim = c.has('X') ? 100 : 0;
    expected.XonChar = 0x11;
    expected.XoffChar = 0x13;
    const DCB dcb = line_settings(s);
    EXPECT_EQ(std::memcmp(&dcb, &expected, sizeof dcb), 0) << c.name;

    const COMMTIMEOUTS t = line_timeouts(s);
    const COMMTIMEOUTS expected_t = {MAXDWORD, 0, 0, c.write_multiplier, c.write_constant};
    EXPECT_EQ(std::memcmp(&t, &expected_t, sizeof t), 0) << c.name;
  }
}

}  // namespace
