// The composer, and the three readers checked against what it writes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sio/comstr.h"

namespace {

using namespace tambre::sio;
using H = handshake_choice;

std::string compose(const comstr_choices& c) {
  char buffer[composed_comstr_size + 8];
  std::memset(buffer, '#', sizeof buffer);
  const std::size_t n = compose_comstr(c, buffer, sizeof buffer);
  EXPECT_EQ(n, std::strlen(buffer));
  return buffer;
}

TEST(ComposeComstr, WritesTheCanonicalForm) {
  struct row {
    const char* name;
    comstr_choices c;
    const char* expected;
  };
  const row rows[] = {
      {"the default", comstr_choices{2, 9600, 0, 3, 0, H::none}, "COM2:9600,N,8,1"},
      {"hardware", comstr_choices{1, 19200, 1, 2, 2, H::hardware}, "COM1:19200,E,7,2,DTR,RTS,DSR,CTS"},
      {"xon/xoff", comstr_choices{3, 4800, 0, 3, 1, H::xon_xoff}, "COM3:4800,N,8,1.5,XON,XOFF"},
      {"configured", comstr_choices{4, 9600, 2, 3, 0, H::configured, false, true, false, true},
       "COM4:9600,O,8,1,RTS,CTS"},
      {"configured keeps the order", comstr_choices{5, 300, 0, 0, 0, H::configured, true, true, true, true},
       "COM5:300,N,5,1,DTR,RTS,DSR,CTS"},
      {"boxes count only when configured", comstr_choices{6, 9600, 0, 3, 0, H::xon_xoff, true, true, true, true},
       "COM6:9600,N,8,1,XON,XOFF"},
      {"the longest", comstr_choices{255, 10000000, 0, 3, 1, H::hardware}, "COM255:10000000,N,8,1.5,DTR,RTS,DSR,CTS"},
  };
  for (const auto& r : rows) EXPECT_EQ(compose(r.c), r.expected) << r.name;
  EXPECT_EQ(std::strlen("COM255:10000000,N,8,1.5,DTR,RTS,DSR,CTS") + 1, composed_comstr_size);
}

TEST(ComposeComstr, CutsAtTheBufferAndReportsTheFullLength) {
  char small[8];
  std::memset(small, '#', sizeof small);
  EXPECT_EQ(compose_comstr(comstr_choices{2, 9600, 0, 3, 0, H::none}, small, 6), 15u);
  EXPECT_STREQ(small, "COM2:");
  EXPECT_EQ(small[6], '#');
  EXPECT_EQ(compose_comstr(comstr_choices{2, 9600, 0, 3, 0, H::none}, nullptr, 0), 15u);
}

// Every combination the dialog can produce, at a few baud rates.
template <typename Visit>
void for_each_choice(Visit visit) {
  for (unsigned long baud : {300ul, 9600ul, 115200ul, 128000ul})
    for (int parity = 0; parity < 3; ++parity)
      for (int data = 0; data < 4; ++data)
        for (int stop = 0; stop < 3; ++stop)
          for (int h = 0; h < 4; ++h)
            for (int boxes = 0; boxes < 16; ++boxes) {
              if (h != 3 && boxes != 0) continue;
              visit(comstr_choices{7, baud, parity, data, stop, static_cast<H>(h), (boxes & 1) != 0, (boxes & 2) != 0,
                                   (boxes & 4) != 0, (boxes & 8) != 0});
            }
}

unsigned option_word(const comstr_choices& c) {
  switch (c.handshake) {
    case H::hardware:
      return options_all_lines;
    case H::xon_xoff:
      return options_xon_xoff;
    case H::configured:
      return (c.dtr ? option_dtr : 0u) | (c.rts ? option_rts : 0u) | (c.dsr ? option_dsr : 0u) |
             (c.cts ? option_cts : 0u);
    default:
      return 0;
  }
}

// Four checked boxes come back from the dialog as "Hardware", which composes the same
// string; the field scan stops above 115200 baud.
TEST(ComposeComstr, EveryReaderTakesBackWhatTheDialogWrote) {
  int checked = 0;
  for_each_choice([&](const comstr_choices& c) {
    const std::string text = compose(c);
    const char* s = text.c_str();
    const unsigned word = option_word(c);
    const dialog_settings d = read_dialog_settings(s);
    EXPECT_EQ(d.port_name, "COM7") << text;
    EXPECT_EQ(d.baud_text, std::to_string(c.baudrate)) << text;
    const H expected_h = c.handshake != H::configured ? c.handshake
                         : word == options_all_lines  ? H::hardware
                         : word == 0                  ? H::none
                                                      : H::configured;
    EXPECT_EQ(d.choices.handshake, expected_h) << text;
    comstr_choices again = d.choices;
    again.port = 7;
    again.baudrate = c.baudrate;
    EXPECT_EQ(compose(again), text);

    const open_settings o = read_open_settings(s);
    EXPECT_STREQ(o.device_path, "\\\\.\\COM7") << text;
    EXPECT_EQ(o.baudrate, c.baudrate) << text;
    EXPECT_EQ(static_cast<int>(o.parity), c.parity_index) << text;
    EXPECT_EQ(o.data_bits, 5 + c.data_bits_index) << text;
    EXPECT_EQ(static_cast<int>(o.stop_bits), c.stop_bits_index) << text;
    const unsigned opened = (o.dtr_handshake ? option_dtr : 0u) | (o.rts_handshake ? option_rts : 0u) |
                            (o.dsr_flow ? option_dsr : 0u) | (o.cts_flow ? option_cts : 0u) |
                            (o.xon_xoff ? options_xon_xoff : 0u);
    EXPECT_EQ(opened, word) << text;

    if (c.baudrate > 115200) {
      EXPECT_EQ(scan_comstr(s, field_port), -1) << text;
      return;
    }
    const int stop_codes[] = {1, 3, 2};
    const int handshake = word == options_all_lines ? 1 : word == options_xon_xoff ? 2 : static_cast<int>(word);
    const int fields[] = {
        7,        static_cast<int>(c.baudrate), c.parity_index, 5 + c.data_bits_index, stop_codes[c.stop_bits_index],
        handshake};
    for (int f = 0; f < 6; ++f) EXPECT_EQ(scan_comstr(s, f), fields[f]) << text << " field " << f;
    ++checked;
  });
  EXPECT_GT(checked, 1000);
}

TEST(ReadDialogSettings, StartsFromTheDefaultAndFillsGaps) {
  struct row {
    const char* name;
    const char* text;
    const char* port;
    const char* baud;
    int parity, data_index, stop_index;
    H handshake;
    const char* boxes;  // D dtr, R rts, d dsr, C cts
  };
  const row rows[] = {
      {"empty", "", "COM2", "9600", 0, 3, 0, H::none, ""},
      {"no colon", "COM5", "COM2", "9600", 0, 3, 0, H::none, ""},
      {"no port name", ":4800,E,7,2", "COM3", "4800", 1, 2, 2, H::none, ""},
      {"no baud", "COM1:,O,8,1", "COM1", "9600", 2, 3, 0, H::none, ""},
      {"lower case", "com4:19200,e,7,1.5", "COM4", "19200", 1, 2, 1, H::none, ""},
      {"nine data bits are no choice", "COM1:9600,N,9,1", "COM1", "9600", 0, 3, 0, H::none, ""},
      {"all four in any order: hardware", "COM1:9600,N,8,1,CTS,DSR,RTS,DTR", "COM1", "9600", 0, 3, 0, H::hardware,
       "DRdC"},
      {"XON wins over lines", "COM1:9600,N,8,1,DTR,XON", "COM1", "9600", 0, 3, 0, H::xon_xoff, "D"},
      {"XOFF alone", "COM1:9600,N,8,1,XOFF", "COM1", "9600", 0, 3, 0, H::xon_xoff, ""},
      {"128000 kept as text", "COM1:128000,N,8,1", "COM1", "128000", 0, 3, 0, H::none, ""},
  };
  for (const auto& r : rows) {
    const dialog_settings d = read_dialog_settings(r.text);
    EXPECT_EQ(d.port_name, r.port) << r.name;
    EXPECT_EQ(d.baud_text, r.baud) << r.name;
    EXPECT_EQ(d.choices.parity_index, r.parity) << r.name;
    EXPECT_EQ(d.choices.data_bits_index, r.data_index) << r.name;
    EXPECT_EQ(d.choices.stop_bits_index, r.stop_index) << r.name;
    EXPECT_EQ(d.choices.handshake, r.handshake) << r.name;
    std::string boxes = std::string(d.choices.dtr ? "D" : "") + (d.choices.rts ? "R" : "") +
                        (d.choices.dsr ? "d" : "") + (d.choices.cts ? "C" : "");
    EXPECT_EQ(boxes, r.boxes) << r.name;
  }
}

}  // namespace
