#include "io/reserved_ports.h"

namespace tambre::io {

namespace {

struct port_range {
  std::uint32_t first;
  std::uint32_t last;  // inclusive
  port_class kind;
};

// Looked up in this order; the first match decides.
constexpr port_range kReservedRanges[] = {
    {0x000, 0x0FF, port_class::system},      {0x1F0, 0x1F7, port_class::pc_hardware},
    {0x200, 0x207, port_class::pc_hardware}, {0x278, 0x27F, port_class::pc_hardware},
    {0x2F8, 0x2FF, port_class::pc_hardware}, {0x360, 0x36F, port_class::pc_hardware},
    {0x378, 0x37F, port_class::pc_hardware}, {0x3B0, 0x3BF, port_class::pc_hardware},
    {0x3D0, 0x3DF, port_class::pc_hardware}, {0x3F0, 0x3FF, port_class::pc_hardware},
};
static_assert(sizeof kReservedRanges / sizeof kReservedRanges[0] == 10);

}  // namespace

port_class classify_port(std::uint32_t port) {
  for (const port_range& range : kReservedRanges) {
    if (port >= range.first && port <= range.last) return range.kind;
  }
  return port_class::free;
}

}  // namespace tambre::io
