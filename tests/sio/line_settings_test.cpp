// The whole line-settings record and the time-outs a configuration string asks for, as
// Open hands them to the platform (a pseudo-terminal keeps only part of them).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "sio/line_settings.h"

namespace {

using namespace tambre::sio;

// Configuration strings and the line settings and time-outs a port opened from them gets.
struct settings_case {
  const char* name;
  const char* settings;  // behind "COMn:"; empty: the bare port name
  DWORD baudrate;
  BYTE parity;
  bool parity_check;
  BYTE data_bits;
  BYTE stop_bits;
  const char* flow;  // D: DTR handshake, R: RTS handshake, d: DSR flow, C: CTS flow, X: XON/XOFF
  DWORD write_multiplier;
  DWORD write_constant;

  bool has(char option) const { return std::strchr(flow, option) != nullptr; }
  DWORD dtr_control() const { return has('D') ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE; }
  DWORD rts_control() const { return has('R') ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE; }
};

const settings_case settings_cases[] = {
    {"defaults of a bare name", "", 9600, NOPARITY, false, 8, ONESTOPBIT, "", 0, 0},
    {"even, 7, 2", "19200,E,7,2", 19200, EVENPARITY, true, 7, TWOSTOPBITS, "", 0, 0},
    {"odd, 5, 1.5", "4800,O,5,1.5", 4800, ODDPARITY, true, 5, ONE5STOPBITS, "", 0, 0},
    {"CTS below 9600: 50 ms a byte", "4800,N,8,1,CTS", 4800, NOPARITY, false, 8, ONESTOPBIT, "C", 50, 1000},
    {"CTS from 9600: 10 ms a byte", "9600,N,8,1,CTS", 9600, NOPARITY, false, 8, ONESTOPBIT, "C", 10, 1000},
    {"DSR alone sets the write time-out", "2400,N,8,1,DSR", 2400, NOPARITY, false, 8, ONESTOPBIT, "d", 50, 1000},
    {"DTR and RTS handshake: no write time-out", "115200,N,8,1,DTR,RTS", 115200, NOPARITY, false, 8, ONESTOPBIT, "DR",
     0, 0},
    {"hardware", "38400,N,8,2,DTR,RTS,DSR,CTS", 38400, NOPARITY, false, 8, TWOSTOPBITS, "DRdC", 10, 1000},
    {"xon/xoff", "57600,N,8,1,XON,XOFF", 57600, NOPARITY, false, 8, ONESTOPBIT, "X", 0, 0},
};

TEST(LineSettings, EveryFieldAsTheStringSays) {
  for (const auto& c : settings_cases) {
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
