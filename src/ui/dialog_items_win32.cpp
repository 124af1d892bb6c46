// Controls of a dialog addressed by id: shown, focused, enabled, limited, labelled.
#include <windows.h>

#include <cstdarg>

#include "tambre32/ui.h"
#include "ui/resource_string_win32.h"
#include "ui/window_class_win32.h"

namespace {
constexpr int kLabelChars = 255;
}

TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) ShowDlgItem(HWND dialog, int id, BOOL show) {
  return ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

TAMBRE_EXPORT(HWND, TAMBRE_FASTCALL) SetDlgItemFocus(HWND dialog, int id) { return SetFocus(GetDlgItem(dialog, id)); }

TAMBRE_EXPORT(void, TAMBRE_CDECL) EnableDlgItems(HWND dialog, BOOL enable, ...) {
  va_list ids;
  va_start(ids, enable);
  // Ids are 16-bit: the high half of each argument is ignored, also for the final 0.
  for (WORD id = static_cast<WORD>(va_arg(ids, int)); id != 0; id = static_cast<WORD>(va_arg(ids, int)))
    EnableWindow(GetDlgItem(dialog, id), enable);
  va_end(ids);
}

TAMBRE_EXPORT(int, TAMBRE_CDECL) LimitItemText(HWND dialog, ...) {
  va_list pairs;
  va_start(pairs, dialog);
  int limited = 0;
  for (;;) {
    int id = va_arg(pairs, int);
    if (id < 1) break;
    int length = va_arg(pairs, int);
    if (length < 1) break;
    HWND control = GetDlgItem(dialog, id);
    if (tambre::ui::has_class(control, "combobox")) {
      SendMessageA(control, CB_LIMITTEXT, static_cast<WPARAM>(length), 0);
    } else if (tambre::ui::has_class(control, "edit")) {
      SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
    } else {
      continue;
    }
    ++limited;
  }
  va_end(pairs);
  return limited;
}

TAMBRE_EXPORT(BOOL, TAMBRE_FASTCALL) SetDlgItemRcText(HWND dialog, int id, HINSTANCE module, UINT string_id) {
  auto text = tambre::ui::load_resource_string(module, string_id, kLabelChars);
  if (!text) return FALSE;
  return SetDlgItemTextA(dialog, id, text->c_str());
}
