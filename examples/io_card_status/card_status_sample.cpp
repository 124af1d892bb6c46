// A process driver's port access, run against a simulated ISA card: the card at base
// port 0x300 takes a command at base+2, raises its ready bit (0x01 at base+1) a few
// reads later and then offers its measurement at base+0 (16 bits). The driver hands the
// whole exchange to the library as one port sequence with a 500 ms time limit.
//
// On a machine with the kernel device, drop the two seam lines in main(): the same code
// then talks to the real card through "\\.\FerroLin".
#include <windows.h>

#include <cstdio>

#include "io/hardware_seams.h"
#include "io/simulated_device.h"
#include "tambre32/io.h"

namespace {

constexpr WORD kBase = 0x300;
constexpr BYTE kStartMeasurement = 0x5A;

// The driver's side: start a measurement, wait for the card, read the value.
bool read_measurement(HANDLE port, WORD& value, DWORD& status) {
  struct {
    TambreIoSequenceHeader header;
    TambreIoSequenceItem items[3];
    BYTE tail[24];  // the record provides 40 + 24 x count bytes
  } record{};
  record.header.base_port = kBase;
  record.header.timeout_ms = 500;
  record.header.item_count = 3;
  record.items[0] = {TAMBRE_IO_WRITE8, 2, kStartMeasurement, 0, 0, 0};
  record.items[1] = {TAMBRE_IO_WAIT8, 1, 0, 0x01, 0x01, 0};
  record.items[2] = {TAMBRE_IO_READ16, 0, 0, 0, 0, 0};
  if (!IOSequence(port, &record)) {
    std::printf("sequence failed, error %lu\n", GetLastError());
    return false;
  }
  status = record.items[1].value;
  value = static_cast<WORD>(record.items[2].value);
  return true;
}

}  // namespace

int main() {
  // The simulated card behind the library's device channel.
  tambre::test::simulated_device card([] { return static_cast<std::uint32_t>(GetTickCount()); });
  card.ports().set_ready_after_reads(kBase + 1, 0x00, 0x01, 3);
  card.ports().set_value(kBase + 0, 0x1234);
  const tambre::base::scoped_stand_in<tambre::io::device_channel> installed(tambre::io::channel_seam(), card);

  if (IOIsSystemPort(kBase, 0)) return 1;
  HANDLE port = IOOpen();
  if (port == nullptr) {
    std::printf("no port access (kernel device missing)\n");
    return 1;
  }
  WORD value = 0;
  DWORD status = 0;
  const bool ok = read_measurement(port, value, status);
  IOClose(port);
  if (!ok) return 1;
  std::printf("card status 0x%02lX, measurement 0x%04X after %d status reads\n", status, value,
              card.ports().reads_of(kBase + 1));
  return value == 0x1234 && status == 0x01 ? 0 : 1;
}
