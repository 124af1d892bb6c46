// The field scan of configuration strings: every selector for each row.
#include <gtest/gtest.h>

#include <string>

#include "sio/comstr.h"

namespace {

using tambre::sio::scan_comstr;

struct scan_case {
  const char* name;
  const char* text;
  int port, baudrate, parity, data_bits, stop_bits, handshake;
};

constexpr int X = -1;

TEST(ScanComstr, AnswersEverySelector) {
  const scan_case cases[] = {
      {"case is ignored and ';' separates", "com3:19200;e;7;2", 3, 19200, 1, 7, 2, 0},
      {"bare port", "COM3", 3, X, 0, X, 0, 0},
      {"no COM head", "9600", X, X, X, X, X, X},
      {"other device", "LPT1:9600", X, X, X, X, X, X},
      {"port 256", "COM256:9600,N,8,1", X, 9600, 0, 8, 1, 0},
      {"port 255", "COM255:9600,N,8,1", 255, 9600, 0, 8, 1, 0},
      {"negative port", "COM-1:9600,N,8,1", X, 9600, 0, 8, 1, 0},
      {"blank before the port number", "COM 7:9600,N,8,1", 7, 9600, 0, 8, 1, 0},
      {"baud below 300", "COM1:299,N,8,1", X, X, X, X, X, X},
      {"baud just above", "COM1:115201,N,8,1", X, X, X, X, X, X},
      {"baud fraction above the limit truncates into it", "COM1:115200.99,N,8,1", 1, 115200, 0, 8, 1, 0},
      {"keyword as baud reads 0", "COM1:DTR", X, X, X, X, X, X},
      {"stop bits 3", "COM1:9600,N,8,3", 1, 9600, 0, 8, 3, 0},
      {"stop bits 0", "COM1:9600,N,8,0", X, X, X, X, X, X},
      {"stop bits 4", "COM1:9600,N,8,4", X, X, X, X, X, X},
      {"mark parity reads as none", "COM1:9600,M,8,1", 1, 9600, 0, 8, 1, 0},
      {"parity by first letter", "COM1:9600,ODD,8,1", 1, 9600, 2, 8, 1, 0},
      {"data bits 9", "COM1:9600,N,9,1", X, X, X, X, X, X},
      {"data bits 4", "COM1:9600,N,4,1", X, X, X, X, X, X},
      {"hardware in another order", "COM1:9600,N,8,1,CTS,DSR,RTS,DTR", 1, 9600, 0, 8, 1, 1},
      {"XON alone", "COM1:9600,N,8,1,XON", 1, 9600, 0, 8, 1, 0x100},
      {"XOFF alone", "COM1:9600,N,8,1,XOFF", 1, 9600, 0, 8, 1, 0x200},
      {"lines and software", "COM1:9600,N,8,1,DTR,RTS,DSR,CTS,XON,XOFF", 1, 9600, 0, 8, 1, 0x3F0},
      {"repeated option", "COM1:9600,N,8,1,DTR,DTR", 1, 9600, 0, 8, 1, 0x10},
      {"options ignore case", "com1:9600,n,8,1,dtr,rts,dsr,cts", 1, 9600, 0, 8, 1, 1},
      {"whole tokens only", "COM1:9600,N,8,1,DTRX,XONN", 1, 9600, 0, 8, 1, 0},
      {"comma ends the port too", "COM4,9600,E,8,1", 4, 9600, 1, 8, 1, 0},
      {"runs of separators count once", "COM1:9600,,;N;,8,,1,", 1, 9600, 0, 8, 1, 0},
      {"a colon no longer separates", "COM1:9600:N,8,1", X, X, X, X, X, X},
      {"missing stop bits", "COM1:9600,E,8", 1, 9600, 1, 8, 0, 0},
      {"missing data bits", "COM1:9600,E", 1, 9600, 1, X, 0, 0},
      {"baud with blanks and sign", "COM1: +9600,N,8,1", 1, 9600, 0, 8, 1, 0},
      {"a control character is no blank",
       "COM1:\x0e"
       "9600,N,8,1",
       X, X, X, X, X, X},
      {"baud in exponent form", "COM1:96e2,N,8,1", 1, 9600, 0, 8, 1, 0},
      {"exponent with its sign", "COM1:9600e-2,N,8,1", X, X, X, X, X, X},
      {"hex is no number", "COM1:0x2580,N,8,1", X, X, X, X, X, X},
      {"empty", "", X, X, X, X, X, X},
  };
  for (const auto& c : cases) {
    const int expected[] = {c.port, c.baudrate, c.parity, c.data_bits, c.stop_bits, c.handshake};
    for (int selector = 0; selector < 6; ++selector) {
      EXPECT_EQ(scan_comstr(c.text, selector), expected[selector])
          << c.name << ": \"" << c.text << "\" selector " << selector;
    }
  }
}

TEST(ScanComstr, UnknownSelectorsNullHugePortsAndOnly79Characters) {
  for (int selector : {-1, 6}) EXPECT_EQ(scan_comstr("COM2:9600,N,8,1", selector), -1) << selector;
  for (int selector = 0; selector < 6; ++selector) EXPECT_EQ(scan_comstr(nullptr, selector), -1);
  EXPECT_EQ(scan_comstr("COM4294967298:9600,N,8,1", 0), -1) << "no wrap";
  EXPECT_EQ(scan_comstr("COM99999999999999999999:9600,N,8,1", 1), 9600);
  // The option word ends exactly at character 79, then one character further.
  std::string head = "COM1:9600,N,8,1,";
  std::string fits = head + std::string(79 - head.size() - 4, ' ') + ",DTR";
  ASSERT_EQ(fits.size(), 79u);
  EXPECT_EQ(scan_comstr(fits.c_str(), 5), 0x10);
  std::string cut = head + std::string(79 - head.size() - 3, ' ') + ",DTR";
  EXPECT_EQ(scan_comstr(cut.c_str(), 5), 0) << "the R behind character 79 is not read";
  EXPECT_EQ(scan_comstr(("COM1:" + std::string(200, '9')).c_str(), 1), -1);
}

}  // namespace
