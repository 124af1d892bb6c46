// The reading at open: what a port is opened with, field by field.
#include <gtest/gtest.h>

#include <string>

#include "sio/comstr.h"

namespace {

using tambre::sio::open_settings;
using tambre::sio::parity_kind;
using tambre::sio::read_open_settings;
using tambre::sio::stop_bits_kind;
using P = parity_kind;
using S = stop_bits_kind;

struct open_case {
  const char* name;
  const char* text;
  const char* path;
  int port;
  unsigned long baudrate;
  parity_kind parity;
  int data_bits;
  stop_bits_kind stop_bits;
  const char* options;  // letters of the options on: D dtr, R rts, d dsr, C cts, X xon/xoff
};

std::string options_of(const open_settings& s) {
  std::string o;
  if (s.dtr_handshake) o += 'D';
  if (s.rts_handshake) o += 'R';
  if (s.dsr_flow) o += 'd';
  if (s.cts_flow) o += 'C';
  if (s.xon_xoff) o += 'X';
  return o;
}

TEST(ReadOpenSettings, TakesEachFieldByItsRule) {
  const open_case cases[] = {
      {"bare port: all defaults", "COM1", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, ""},
      {"no range check on the baud rate", "COM1:128000,N,8,1", "\\\\.\\COM1", 1, 128000, P::none, 8, S::one, ""},
      {"baud 0 means the default", "COM1:0,N,8,1", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, ""},
      {"mark parity opens as none", "COM1:9600,M,8,1", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, ""},
      {"odd wins over even", "COM1:9600,E,8,1,O", "\\\\.\\COM1", 1, 9600, P::odd, 8, S::one, ""},
      {"last data-bits lookup wins", "COM1:9600,N,5,8", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, ""},
      {"two wins over one", "COM1:9600,N,8,1,2", "\\\\.\\COM1", 1, 9600, P::none, 8, S::two, ""},
      {"the cut at CTS hides XON", "COM1:9600,N,8,1,CTS,XON", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, "C"},
      {"XON before the cut counts", "COM1:9600,N,8,1,XON,CTS", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, "CX"},
      {"the cut at RTS hides parity", "COM1:9600,N,8,1,RTS,E", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, "R"},
      {"options anywhere", "COM1,DSR:4800,O,7", "\\\\.\\COM1,DSR", 1, 9600, P::none, 8, S::one, "d"},
      {"XOFF without comma", "COM1:9600,N,8,1XOFF", "\\\\.\\COM1", 1, 9600, P::none, 8, S::one, "X"},
      {"software, lower case", "com5:4800,o,7,2,xon,xoff", "\\\\.\\com5", 5, 4800, P::odd, 7, S::two, "X"},
      {"name without colon used whole", "COM1,9600,E", "\\\\.\\COM1,9600,E", 1, 9600, P::even, 8, S::one, ""},
      {"name cut at 11 characters", "VERYLONGPORTNAME:2400", "\\\\.\\VERYLONGPOR", 0, 2400, P::none, 8, S::one, ""},
      {"port number kept in 8 bits", "COM300:9600", "\\\\.\\COM300", 44, 9600, P::none, 8, S::one, ""},
      {"negative port number in 8 bits", "COM-1:9600", "\\\\.\\COM-1", 255, 9600, P::none, 8, S::one, ""},
      {"empty", "", "\\\\.\\", 0, 9600, P::none, 8, S::one, ""},
  };
  for (const auto& c : cases) {
    const open_settings s = read_open_settings(c.text);
    EXPECT_STREQ(s.device_path, c.path) << c.name;
    EXPECT_EQ(s.port_number, c.port) << c.name;
    EXPECT_EQ(s.baudrate, c.baudrate) << c.name;
    EXPECT_EQ(s.parity, c.parity) << c.name;
    EXPECT_EQ(s.data_bits, c.data_bits) << c.name;
    EXPECT_EQ(s.stop_bits, c.stop_bits) << c.name;
    EXPECT_EQ(options_of(s), c.options) << c.name;
  }
}

TEST(ReadOpenSettings, NullReadsAsEmptyAndOnly127CharactersAreRead) {
  EXPECT_STREQ(read_open_settings(nullptr).device_path, "\\\\.\\");
  const std::string head = "COM1:9600,N,8,1";
  const std::string pad(127 - head.size() - 4, ' ');
  EXPECT_TRUE(read_open_settings((head + pad + ",CTS").c_str()).cts_flow);
  EXPECT_FALSE(read_open_settings((head + pad + " ,CTS").c_str()).cts_flow);
}

}  // namespace
