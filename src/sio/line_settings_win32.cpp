#include "sio/line_settings.h"

#include <cstddef>

namespace tambre::sio {

#if defined(_WIN32) && !defined(_WIN64)
// The record the 32-bit host and drivers share with us.
static_assert(sizeof(DCB) == 28, "DCB is 28 bytes");
static_assert(offsetof(DCB, BaudRate) == 4 && offsetof(DCB, wReserved) == 12 && offsetof(DCB, XonLim) == 14 &&
                  offsetof(DCB, XoffLim) == 16 && offsetof(DCB, ByteSize) == 18 && offsetof(DCB, Parity) == 19 &&
                  offsetof(DCB, StopBits) == 20 && offsetof(DCB, XonChar) == 21 && offsetof(DCB, XoffChar) == 22 &&
                  offsetof(DCB, ErrorChar) == 23 && offsetof(DCB, EofChar) == 24 && offsetof(DCB, EvtChar) == 25,
              "DCB field offsets");
static_assert(sizeof(COMMTIMEOUTS) == 20, "COMMTIMEOUTS is five words");
static_assert(sizeof(OVERLAPPED) == 20, "OVERLAPPED is five words, the last the event");
#endif

namespace {
constexpr WORD kFlowLimit = 100;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
}  // namespace

DCB line_settings(const open_settings& s) {
  DCB dcb{};  // every flag not set below stays off
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = s.baudrate;
  dcb.fBinary = TRUE;
  dcb.fOutxDsrFlow = s.dsr_flow;
  dcb.fOutxCtsFlow = s.cts_flow;
  dcb.fRtsControl = s.rts_handshake ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  dcb.fDtrControl = s.dtr_handshake ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE;
  dcb.fParity = s.parity != parity_kind::none;
  dcb.Parity = s.parity == parity_kind::even ? EVENPARITY : s.parity == parity_kind::odd ? ODDPARITY : NOPARITY;
  dcb.ByteSize = static_cast<BYTE>(s.data_bits);
  dcb.StopBits = s.stop_bits == stop_bits_kind::two            ? TWOSTOPBITS
                 : s.stop_bits == stop_bits_kind::one_and_half ? ONE5STOPBITS
                                                               : ONESTOPBIT;
  if (s.xon_xoff) {
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.XonLim = kFlowLimit;
    dcb.XoffLim = kFlowLimit;
  }
  dcb.XonChar = kXon;
  dcb.XoffChar = kXoff;
  return dcb;
}

COMMTIMEOUTS line_timeouts(const open_settings& s) {
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = MAXDWORD;  // with both read values 0: a read returns what is there
  // Only hardware output flow control can hold a write; give it a second plus the line time.
  if (s.cts_flow || s.dsr_flow) {
    t.WriteTotalTimeoutMultiplier = s.baudrate < 9600 ? 50 : 10;
    t.WriteTotalTimeoutConstant = 1000;
  }
  return t;
}

}  // namespace tambre::sio
