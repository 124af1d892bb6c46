// Tree views repaint without smears when double-buffered, which the system offers from
// Windows Vista on.
#include <windows.h>

#include <commctrl.h>

#include "tambre32/services.h"
#include "tambre32/ui.h"

namespace {
constexpr int kVistaOrLater = 11;  // version question: Windows Vista or later
}

TAMBRE_EXPORT(void, TAMBRE_STDCALL) TVWorkAroundSmeare(HWND tree) {
  if (tree != nullptr && QueryWin32Param(kVistaOrLater))
    SendMessageA(tree, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
}
