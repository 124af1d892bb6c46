#pragma once
// Configuration strings and the line settings and time-outs a port opened from them gets.
#include <windows.h>

#include <cstring>

namespace sio_test {

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

inline const settings_case settings_cases[] = {
    {"defaults of a bare name", "", 9600, NOPARITY, false, 8, ONESTOPBIT, "", 0, 0},
    {"no options: no write time-out", "9600,N,8,1", 9600, NOPARITY, false, 8, ONESTOPBIT, "", 0, 0},
    {"even, 7, 2", "19200,E,7,2", 19200, EVENPARITY, true, 7, TWOSTOPBITS, "", 0, 0},
    {"odd, 5, 1.5", "4800,O,5,1.5", 4800, ODDPARITY, true, 5, ONE5STOPBITS, "", 0, 0},
    {"CTS below 9600: 50 ms a byte", "4800,N,8,1,CTS", 4800, NOPARITY, false, 8, ONESTOPBIT, "C", 50, 1000},
    {"CTS from 9600: 10 ms a byte", "9600,N,8,1,CTS", 9600, NOPARITY, false, 8, ONESTOPBIT, "C", 10, 1000},
    {"DSR alone sets the write time-out", "2400,N,8,1,DSR", 2400, NOPARITY, false, 8, ONESTOPBIT, "d", 50, 1000},
    {"DTR and RTS handshake: no write time-out", "115200,N,8,1,DTR,RTS", 115200, NOPARITY, false, 8, ONESTOPBIT, "DR",
     0, 0},
    {"hardware", "38400,N,8,2,DTR,RTS,DSR,CTS", 38400, NOPARITY, false, 8, TWOSTOPBITS, "DRdC", 10, 1000},
    {"xon/xoff", "57600,N,8,1,XON,XOFF", 57600, NOPARITY, false, 8, ONESTOPBIT, "X", 0, 0},
    {"the cut at CTS hides XON", "9600,N,8,1,CTS,XON", 9600, NOPARITY, false, 8, ONESTOPBIT, "C", 10, 1000},
    {"mark parity opens as none", "1200,M,8,1", 1200, NOPARITY, false, 8, ONESTOPBIT, "", 0, 0},
};

}  // namespace sio_test
