#pragma once
// Configuration strings and the line settings and time-outs a port opened from them gets.
#include <windows.h>

namespace sio_test {

struct settings_case {
  const char* name;
  const char* settings;  // behind "COMn:"; empty: the bare port name
  DWORD baudrate;
  BYTE parity;
  bool parity_check;
  BYTE data_bits;
  BYTE stop_bits;
  DWORD dtr_control;
  DWORD rts_control;
  bool cts_flow;
  bool dsr_flow;
  bool xon_xoff;
  DWORD write_multiplier;
  DWORD write_constant;
};

inline const settings_case settings_cases[] = {
    {"defaults of a bare name", "", 9600, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE, false,
     false, false, 0, 0},
    {"no options: no write time-out", "9600,N,8,1", 9600, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE,
     RTS_CONTROL_ENABLE, false, false, false, 0, 0},
    {"even, 7, 2", "19200,E,7,2", 19200, EVENPARITY, true, 7, TWOSTOPBITS, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE,
     false, false, false, 0, 0},
    {"odd, 5, 1.5", "4800,O,5,1.5", 4800, ODDPARITY, true, 5, ONE5STOPBITS, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE,
     false, false, false, 0, 0},
    {"CTS below 9600: 50 ms a byte", "4800,N,8,1,CTS", 4800, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE,
     RTS_CONTROL_ENABLE, true, false, false, 50, 1000},
    {"CTS from 9600: 10 ms a byte", "9600,N,8,1,CTS", 9600, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE,
     RTS_CONTROL_ENABLE, true, false, false, 10, 1000},
    {"DSR alone sets the write time-out", "2400,N,8,1,DSR", 2400, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE,
     RTS_CONTROL_ENABLE, false, true, false, 50, 1000},
    {"DTR and RTS handshake: no write time-out", "115200,N,8,1,DTR,RTS", 115200, NOPARITY, false, 8, ONESTOPBIT,
     DTR_CONTROL_HANDSHAKE, RTS_CONTROL_HANDSHAKE, false, false, false, 0, 0},
    {"hardware", "38400,N,8,2,DTR,RTS,DSR,CTS", 38400, NOPARITY, false, 8, TWOSTOPBITS, DTR_CONTROL_HANDSHAKE,
     RTS_CONTROL_HANDSHAKE, true, true, false, 10, 1000},
    {"xon/xoff", "57600,N,8,1,XON,XOFF", 57600, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE,
     false, false, true, 0, 0},
    {"the cut at CTS hides XON", "9600,N,8,1,CTS,XON", 9600, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE,
     RTS_CONTROL_ENABLE, true, false, false, 10, 1000},
    {"mark parity opens as none", "1200,M,8,1", 1200, NOPARITY, false, 8, ONESTOPBIT, DTR_CONTROL_ENABLE,
     RTS_CONTROL_ENABLE, false, false, false, 0, 0},
};

}  // namespace sio_test
