#include <windows.h>

#include "tambre32/frame.h"

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) EnableDlgItem(HWND dialog, int id, BOOL enable) {
  return EnableWindow(GetDlgItem(dialog, id), enable);
}
