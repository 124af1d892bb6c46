#pragma once
// Blocks of the driver objects: moveable, zero-filled global memory, locked while the
// object lives.
#include <cstddef>

namespace tambre::codriver {

void* global_heap_alloc(std::size_t size) noexcept;
void global_heap_free(void* block) noexcept;

}  // namespace tambre::codriver
