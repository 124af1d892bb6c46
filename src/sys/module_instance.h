#pragma once
#include <windows.h>

namespace tambre::sys {

// The library's own module: every string, dialog, bitmap and type library resource is
// loaded from it. Set at process attach.
HINSTANCE module_instance();
void set_module_instance(HINSTANCE instance);

}  // namespace tambre::sys
