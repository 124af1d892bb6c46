// The wait for another process's end: quietly first, then with progress dialog 708 whose
// cancel button asks before it gives up.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "services/exit_wait_dialog_ids.h"
#include "string_ids.h"
#include "sys/module_instance.h"
#include "tambre32/waits.h"

namespace {

constexpr int kStepMs = 50;
constexpr int kTextSize = 400;

// Shared by the waiting loop and the dialog procedure, on the waiting thread's stack. The
// dialog finds it in its DWLP_USER slot rather than in a module-wide variable, so waits
// on different threads keep their own dialogs apart.
struct exit_wait_context {
  HWND dialog = nullptr;  // cleared when the window is destroyed
  const char* caption = nullptr;
  const char* text = nullptr;  // the text, or with `strings` a string-table id
  HINSTANCE strings = nullptr;
  int result = 0;  // 0 waiting, 1 signalled, -1 cancelled by the user
};

void show_texts(HWND dialog, const exit_wait_context& context) {
  if (context.caption) SetWindowTextA(dialog, context.caption);
  if (!context.text) return;
  if (context.strings) {
    char text[kTextSize] = "";
    const UINT id = LOWORD(reinterpret_cast<UINT_PTR>(context.text));
    if (LoadStringA(context.strings, id, text, kTextSize) <= 0) text[0] = '\0';
    SetDlgItemTextA(dialog, IDC_EXIT_WAIT_TEXT, text);
  } else {
    SetDlgItemTextA(dialog, IDC_EXIT_WAIT_TEXT, context.text);
  }
}

bool user_confirms_cancel(HWND dialog) {
  char text[kTextSize] = "";
  char caption[128] = "";
  LoadStringA(tambre::sys::module_instance(), IDS_EXIT_WAIT_CANCEL_QUERY, text, kTextSize);
  GetWindowTextA(dialog, caption, sizeof caption);
  return MessageBoxA(dialog, text, caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

INT_PTR CALLBACK exit_wait_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* context = reinterpret_cast<exit_wait_context*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      context = reinterpret_cast<exit_wait_context*>(lparam);
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      context->dialog = dialog;
      show_texts(dialog, *context);
      return TRUE;
    case WM_COMMAND:
      if (!context) return FALSE;
      switch (LOWORD(wparam)) {
        case IDC_EXIT_WAIT_CANCEL:
          if (user_confirms_cancel(dialog)) {
            context->result = -1;
            DestroyWindow(dialog);
          }
          return TRUE;
        case IDOK:
        case IDCANCEL:  // the window goes, the wait goes on
          DestroyWindow(dialog);
          return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      if (context) context->dialog = nullptr;
      SetWindowLongPtrA(dialog, DWLP_USER, 0);
      return FALSE;
  }
  return FALSE;
}

HWND create_progress_dialog(exit_wait_context& context) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  return CreateDialogParamA(tambre::sys::module_instance(), MAKEINTRESOURCEA(IDD_EXIT_WAIT), nullptr, exit_wait_dialog,
                            reinterpret_cast<LPARAM>(&context));
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
MsgBoxWaitForExit(HANDLE handle, int total, int quiet, const char* caption, HINSTANCE module, const char* text) {
  if (total < 0 || quiet < 0 || handle == nullptr || handle == INVALID_HANDLE_VALUE) return 0;
  const int quiet_part = std::min(quiet, total);
  if (WaitEvent(handle, static_cast<DWORD>(quiet_part))) return 1;
  if (WaitForSingleObject(handle, 0) == WAIT_FAILED) return 1;  // nothing to wait for
  int remaining = total - quiet_part;
  if (remaining < 1) return 0;

  exit_wait_context context;
  context.caption = caption;
  context.text = text;
  context.strings = module;
  HWND dialog = create_progress_dialog(context);
  if (dialog) {
    HWND bar = GetDlgItem(dialog, IDC_EXIT_WAIT_PROGRESS);
    SendMessageA(bar, PBM_SETRANGE32, 0, remaining / kStepMs);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);  // one unit per wait of kStepMs
    ShowWindow(dialog, SW_SHOW);
  }
  while (remaining > 0 && context.result == 0) {
    if (WaitEvent(handle, kStepMs)) {
      context.result = 1;
    } else {
      if (context.dialog) SendDlgItemMessageA(context.dialog, IDC_EXIT_WAIT_PROGRESS, PBM_STEPIT, 0, 0);
      remaining -= kStepMs;
    }
  }
  if (context.dialog) DestroyWindow(context.dialog);
  return context.result;
}
