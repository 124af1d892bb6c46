// Checks a card address that a user entered against the ports the PC itself uses.
#include <windows.h>

#include "io/reserved_ports.h"
#include "string_ids.h"
#include "tambre32/frame.h"
#include "tambre32/io.h"

TAMBRE_EXPORT(int, TAMBRE_STDCALL) IOIsSystemPort(DWORD port, int ask) {
  using tambre::io::port_class;
  switch (tambre::io::classify_port(port)) {
    case port_class::free:
      return 0;
    case port_class::system:
      if (ask) MessageFMTBox(nullptr, IDS_IO_PORT_SYSTEM, MB_ICONERROR, static_cast<unsigned>(port));
      return 1;
    case port_class::pc_hardware:
      if (!ask) return 0;
      return MessageFMTBox(nullptr, IDS_IO_PORT_RESERVED, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                           static_cast<unsigned>(port)) == IDYES
                 ? 0
                 : 1;
  }
  return 0;
}
