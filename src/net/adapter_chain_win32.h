#pragma once
// The adapter chain as IP Helper reports it, with the display names of the network settings.
#include <vector>

#include "net/adapter_list.h"
#include "net/ip_helper_binding.h"

namespace tambre::net {

// Size of the buffer the adapter chain is read into.
constexpr unsigned long adapter_info_buffer_size = 16384;

// False when the chain could not be read.
bool read_adapter_chain(const ip_helper_entries& helper, std::vector<adapter_entry>& chain);

}  // namespace tambre::net
