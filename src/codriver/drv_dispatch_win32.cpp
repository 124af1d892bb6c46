#include "tambre32/codriver.h"

// A driver's own window must not be closed by the user: close requests only beep.
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvDispatch(HWND window) {
  MSG message;
  if (InSendMessage() || !PeekMessageA(&message, window, 0, 0, PM_REMOVE)) return 0;
  if (message.message == WM_CLOSE || (message.message == WM_SYSCOMMAND && message.wParam == SC_CLOSE)) {
    MessageBeep(0);
    return 1;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return 1;
}
