#include "sys/message_pump.h"

#include "tambre32/waits.h"

namespace tambre::sys {

void pump_messages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace tambre::sys

TAMBRE_EXPORT(int, TAMBRE_STDCALL) Dispatch(HWND window) {
  if (InSendMessage()) return 0;
  MSG message;
  while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Put it back so that the thread's own loop still ends.
      PostMessageA(window, WM_QUIT, message.wParam, message.lParam);
      return 0;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

TAMBRE_EXPORT(DWORD, TAMBRE_STDCALL) WaitForNoneZeroVar(volatile LONG* variable, DWORD timeout, BOOL dispatch) {
  long remaining = static_cast<long>(timeout);
  while (!variable || *variable != 0) {
    if (dispatch) Dispatch(nullptr);
    Sleep(2);
    if (remaining - 2 < 1) return (!variable || *variable != 0) ? WAIT_TIMEOUT : 0;
    remaining -= 2;
  }
  return 0;
}
