// The hourglass over nested long operations.
#include <windows.h>

#include "tambre32/ui.h"

namespace {

// Process-wide, for the user-interface thread. Depth stays within 0..2: a third nested
// wait saves its cursor in the last slot, where no restore reads it.
HCURSOR saved_cursors[3] = {};
int depth = 0;

}  // namespace

TAMBRE_EXPORT(void, TAMBRE_FASTCALL) WaitCursor(void) {
  saved_cursors[depth] = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  if (depth < 2) ++depth;
}

TAMBRE_EXPORT(void, TAMBRE_FASTCALL) RestoreCursor(void) {
  if (depth > 0) --depth;
  SetCursor(saved_cursors[depth]);
}
