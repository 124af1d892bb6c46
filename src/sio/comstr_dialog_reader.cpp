// The reading for the setup dialog: port name and baud text by splitting, the rest by
// substrings, each later lookup overriding an earlier one.
#include <algorithm>

#include "sio/comstr.h"

namespace tambre::sio {

dialog_settings read_dialog_settings(const char* text) {
  std::string work = text != nullptr ? text : "";
  if (work.empty() || work.find(':') == std::string::npos) work = default_comstr;
  std::transform(work.begin(), work.end(), work.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });

  dialog_settings d;
  const std::size_t colon = work.find(':');
  d.port_name = work.substr(0, colon);
  if (d.port_name.empty()) d.port_name = "COM3";
  const std::string after_port = work.substr(colon + 1);
  const std::size_t comma = after_port.find(',');
  d.baud_text = after_port.substr(0, comma);
  if (d.baud_text.empty()) d.baud_text = "9600";
  const std::string rest = comma == std::string::npos ? std::string() : after_port.substr(comma + 1);
  auto has = [&rest](const char* find) { return rest.find(find) != std::string::npos; };

  comstr_choices& c = d.choices;
  c.parity_index = 0;
  if (has("N,")) c.parity_index = 0;
  if (has("E,")) c.parity_index = 1;
  if (has("O,")) c.parity_index = 2;

  c.data_bits_index = 3;
  for (int bits = 5; bits <= 8; ++bits) {
    const char find[] = {',', static_cast<char>('0' + bits), '\0'};
    if (has(find)) c.data_bits_index = bits - 5;
  }

  c.stop_bits_index = 0;
  if (has(",1")) c.stop_bits_index = 0;
  if (has(",1.5")) c.stop_bits_index = 1;
  if (has(",2")) c.stop_bits_index = 2;

  c.dtr = has(",DTR");
  c.rts = has(",RTS");
  c.dsr = has(",DSR");
  c.cts = has(",CTS");
  if (has(",XON") || has(",XOFF")) {
    c.handshake = handshake_choice::xon_xoff;
  } else if (c.dtr && c.rts && c.dsr && c.cts) {
    c.handshake = handshake_choice::hardware;
  } else if (c.dtr || c.rts || c.dsr || c.cts) {
    c.handshake = handshake_choice::configured;
  } else {
    c.handshake = handshake_choice::none;
  }
  return d;
}

}  // namespace tambre::sio
