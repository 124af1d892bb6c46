// Runs the three configuration-string readers over arbitrary text: no read past the text,
// results inside their documented sets, and the scan's answers consistent with each other.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sio/comstr.h"

using namespace tambre::sio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* s = text.c_str();

  int fields[6];
  for (int selector = 0; selector < 6; ++selector) fields[selector] = scan_comstr(s, selector);
  if (scan_comstr(s, 6) != -1 || scan_comstr(s, -1) != -1) std::abort();
  const bool valid = fields[2] != -1;  // parity is -1 only for an invalid string
  if (valid) {
    if (fields[0] != -1 && (fields[0] < 1 || fields[0] > 255)) std::abort();
    if (fields[1] != -1 && (fields[1] < 300 || fields[1] > 115200)) std::abort();
    if (fields[2] < 0 || fields[2] > 2) std::abort();
    if (fields[3] != -1 && (fields[3] < 5 || fields[3] > 8)) std::abort();
    if (fields[4] < 0 || fields[4] > 3) std::abort();
    if (fields[5] < 0 || (fields[5] > 2 && fields[5] < 16) || fields[5] > 0x3F0) std::abort();
  } else {
    for (int f : fields) {
      if (f != -1) std::abort();
    }
  }

  const open_settings o = read_open_settings(s);
  if (std::strlen(o.device_path) > 15 || std::strncmp(o.device_path, "\\\\.\\", 4) != 0) std::abort();
  if (o.data_bits < 5 || o.data_bits > 8 || o.baudrate == 0) std::abort();

  const dialog_settings d = read_dialog_settings(s);
  char composed[composed_comstr_size + 24];
  comstr_choices c = d.choices;
  c.port = fields[0] > 0 ? fields[0] : 1;
  c.baudrate = 300 + (size * 7919) % 10000000;
  const std::size_t n = compose_comstr(c, composed, sizeof composed);
  if (n >= sizeof composed || std::strlen(composed) != n) std::abort();
  // A composed string within the scan's range scans back to its own baud rate.
  if (c.baudrate <= 115200 && scan_comstr(composed, 1) != static_cast<int>(c.baudrate)) std::abort();
  return 0;
}
