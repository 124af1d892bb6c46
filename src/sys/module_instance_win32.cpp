#include "sys/module_instance.h"

namespace tambre::sys {

namespace {
HINSTANCE stored_instance = nullptr;
}

HINSTANCE module_instance() {
  if (stored_instance != nullptr) return stored_instance;
  // Linked statically into a program (the tests of internals), there is no process
  // attach: the module is then the one that holds this code.
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&module_instance), &self);
  return self;
}

void set_module_instance(HINSTANCE instance) { stored_instance = instance; }

}  // namespace tambre::sys
