// The composer: the one canonical form of the string, as the setup dialog writes it.
#include <cstdio>

#include "sio/comstr.h"

namespace tambre::sio {

namespace {

const char* const kParityLetters = "NEO";
const char* const kStopBitTexts[] = {"1", "1.5", "2"};

int clamp_index(int index, int last) { return index < 0 ? 0 : index > last ? last : index; }

}  // namespace

std::size_t compose_comstr(const comstr_choices& c, char* out, std::size_t size) {
  char text[96];
  int n = std::snprintf(text, sizeof text, "COM%i:%lu,%c,%i,%s", c.port, c.baudrate,
                        kParityLetters[clamp_index(c.parity_index, 2)], 5 + clamp_index(c.data_bits_index, 3),
                        kStopBitTexts[clamp_index(c.stop_bits_index, 2)]);
  std::size_t length = n > 0 ? static_cast<std::size_t>(n) : 0;
  auto append = [&](const char* option) {
    const int m = std::snprintf(text + length, sizeof text - length, "%s", option);
    if (m > 0) length += static_cast<std::size_t>(m);
  };
  switch (c.handshake) {
    case handshake_choice::hardware:
      append(",DTR,RTS,DSR,CTS");
      break;
    case handshake_choice::xon_xoff:
      append(",XON,XOFF");
      break;
    case handshake_choice::configured:
      if (c.dtr) append(",DTR");
      if (c.rts) append(",RTS");
      if (c.dsr) append(",DSR");
      if (c.cts) append(",CTS");
      break;
    case handshake_choice::none:
      break;
  }
  if (out != nullptr && size > 0) std::snprintf(out, size, "%s", text);
  return length;
}

}  // namespace tambre::sio
