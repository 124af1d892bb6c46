#pragma once
#include <windows.h>

namespace tambre::dll {

// At process attach, before anything else: notes where the thread library keeps its
// thread records, so that they can be given back at unload.
void note_runtime_state();

// Gives back what the run-time libraries linked into this module keep until the process
// ends, for a module unloaded while the process goes on: the calling thread's record of
// the thread library (a duplicated thread handle, an event, its thread-local storage), the
// thread library's slot for those records, and the C++ run time's reserve for exceptions
// thrown when memory is short.
void release_runtime_state(HINSTANCE module);

}  // namespace tambre::dll
