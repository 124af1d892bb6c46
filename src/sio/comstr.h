#pragma once
// The serial port configuration string ("COM2:9600,N,8,1"): the three readers and the
// composer. The readers accept different things on purpose; each keeps its own rules:
//   scan_comstr          answers one question about the text, strict about ranges;
//   read_open_settings   what opening a port takes from it, forgiving, by substring;
//   read_dialog_settings what the setup dialog shows for it.
// The composer writes the one canonical form the setup dialog produces.

#include <cstddef>
#include <string>

namespace tambre::sio {

// Selectors of scan_comstr.
enum comstr_field : int {
  field_port = 0,
  field_baudrate = 1,
  field_parity = 2,
  field_databits = 3,
  field_stopbits = 4,
  field_handshake = 5,
};

// Bits of the raw option word (the handshake answer for uncommon combinations).
enum comstr_option : unsigned {
  option_dtr = 0x10,
  option_dsr = 0x20,
  option_rts = 0x40,
  option_cts = 0x80,
  option_xon = 0x100,
  option_xoff = 0x200,
  options_all_lines = 0xF0,
  options_xon_xoff = 0x300,
};

// The field scan: port 1-255, baud 300-115200, parity 0/1/2 (none/even/odd), data bits 5-8,
// stop bits 1/3/2 (one/one and a half/two), handshake 0/1/2 or the raw option word; -1
// when the text is no configuration string, the field is invalid or missing, or the
// selector is unknown. Reads the text only.
int scan_comstr(const char* text, int selector);

enum class parity_kind { none, even, odd };
enum class stop_bits_kind { one, one_and_half, two };

// What opening a port takes from the string. Anything it cannot read keeps the default.
struct open_settings {
  char device_path[16] = "";      // "\\.\" and at most 11 characters of the name
  unsigned char port_number = 0;  // for messages only, not validated
  unsigned long baudrate = 9600;  // not range-checked
  parity_kind parity = parity_kind::none;
  int data_bits = 8;
  stop_bits_kind stop_bits = stop_bits_kind::one;
  bool dtr_handshake = false;
  bool rts_handshake = false;
  bool dsr_flow = false;
  bool cts_flow = false;
  bool xon_xoff = false;
};

// The reading at open; a null text reads as an empty one.
open_settings read_open_settings(const char* text);

// Choices of the setup dialog, by list position.
enum class handshake_choice { none = 0, hardware = 1, xon_xoff = 2, configured = 3 };

struct comstr_choices {
  int port = 2;
  unsigned long baudrate = 9600;
  int parity_index = 0;     // 0 "N", 1 "E", 2 "O"
  int data_bits_index = 3;  // data bits 5 + index
  int stop_bits_index = 0;  // 0 "1", 1 "1.5", 2 "2"
  handshake_choice handshake = handshake_choice::none;
  // The check boxes; they count only with handshake_choice::configured.
  bool dtr = false;
  bool rts = false;
  bool dsr = false;
  bool cts = false;
};

// The longest composed string, "COM255:10000000,N,8,1.5,DTR,RTS,DSR,CTS", and its terminator.
constexpr std::size_t composed_comstr_size = 40;

// Writes the string for `choices` into `out` (cut to size - 1 characters, always
// terminated when size > 0); returns the length of the full string.
std::size_t compose_comstr(const comstr_choices& choices, char* out, std::size_t size);

// The string the dialog starts from when it is given none.
constexpr const char* default_comstr = "COM2:9600,N,8,1";

// What the setup dialog shows for a string: the port name to select, the baud-rate text
// and the list positions. The port number of `choices` is not set (the dialog takes it from
// the port list entry that begins with `port_name`).
struct dialog_settings {
  std::string port_name;
  std::string baud_text;
  comstr_choices choices;
};

dialog_settings read_dialog_settings(const char* text);

}  // namespace tambre::sio
