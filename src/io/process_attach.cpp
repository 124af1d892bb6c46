#include "frame/lifecycle.h"
#include "tambre32/io.h"

namespace tambre::io {

// Port functions work from the start on systems where they can: the mode is chosen now
// and renewed by every IOOpen.
void on_process_attach() { IORegister(); }

}  // namespace tambre::io
