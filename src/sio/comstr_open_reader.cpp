// The reading at open. It looks for substrings instead of splitting fields, takes defaults
// for whatever it does not find and checks no range: a port opens with whatever the text
// asks for, and the platform decides.
#include <cstring>

#include "sio/comstr.h"
#include "sio/number_prefix.h"

namespace tambre::sio {

namespace {

constexpr std::size_t kNameChars = 11;
constexpr std::size_t kWorkSize = 128;  // 127 characters of the text and a terminator

bool has(const char* work, const char* find) { return std::strstr(work, find) != nullptr; }

}  // namespace

open_settings read_open_settings(const char* text) {
  if (text == nullptr) text = "";
  open_settings s;

  // The name keeps its case; a name without colon is used whole.
  std::strcpy(s.device_path, "\\\\.\\");
  std::size_t name = 0;
  while (name < kNameChars && text[name] != '\0' && text[name] != ':') ++name;
  std::memcpy(s.device_path + 4, text, name);
  s.device_path[4 + name] = '\0';

  if (std::strlen(text) >= 3) s.port_number = static_cast<unsigned char>(integer_prefix(text + 3));

  char work[kWorkSize];
  std::size_t n = 0;
  for (; n < kWorkSize - 1 && text[n] != '\0'; ++n) {
    const char c = text[n];
    work[n] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  work[n] = '\0';

  // The line options switch on wherever they stand; everything behind the last of them in
  // this order is not read any further.
  char* dtr = std::strstr(work, ",DTR");
  char* dsr = std::strstr(work, ",DSR");
  char* rts = std::strstr(work, ",RTS");
  char* cts = std::strstr(work, ",CTS");
  s.dtr_handshake = dtr != nullptr;
  s.dsr_flow = dsr != nullptr;
  s.rts_handshake = rts != nullptr;
  s.cts_flow = cts != nullptr;
  char* cut = cts ? cts : rts ? rts : dsr ? dsr : dtr;
  if (cut != nullptr) *cut = '\0';

  if (const char* colon = std::strchr(work, ':')) {
    const int baud = integer_prefix(colon + 1);
    if (baud != 0) s.baudrate = static_cast<unsigned long>(static_cast<long>(baud));
  }

  if (has(work, ",E")) s.parity = parity_kind::even;
  if (has(work, ",O")) s.parity = parity_kind::odd;

  if (has(work, ",1")) s.stop_bits = stop_bits_kind::one;
  if (has(work, ",1.5")) s.stop_bits = stop_bits_kind::one_and_half;
  if (has(work, ",2")) s.stop_bits = stop_bits_kind::two;

  for (int bits = 5; bits <= 8; ++bits) {
    const char find[] = {',', static_cast<char>('0' + bits), '\0'};
    if (has(work, find)) s.data_bits = bits;
  }

  s.xon_xoff = has(work, ",XON") || has(work, "XOFF");
  return s;
}

}  // namespace tambre::sio
