#pragma once
// The I/O port ranges the PC itself uses, against which card addresses are checked.

#include <cstdint>

namespace tambre::io {

enum class port_class {
  free,         // in no reserved range
  system,       // 0x000-0x0FF: never usable
  pc_hardware,  // used or reserved by PC hardware: usable after confirmation
};

port_class classify_port(std::uint32_t port);

}  // namespace tambre::io
