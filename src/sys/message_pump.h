#pragma once
#include <windows.h>

namespace tambre::sys {

// Removes, translates and dispatches every queued message of the thread.
void pump_messages();

}  // namespace tambre::sys
