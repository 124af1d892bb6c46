#pragma once
// A typed entry point of a loaded module, as a driver takes it with GetProcAddress.
#include <windows.h>

namespace tambre::test {

template <typename Function>
Function dll_proc(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace tambre::test
