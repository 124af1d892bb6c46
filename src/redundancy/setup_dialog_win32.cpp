// The redundancy setup dialog: edits a settings record, or a module's stored settings.
#include <windows.h>

#include <initializer_list>

#include "redundancy/dialog_ids.h"
#include "sys/module_instance.h"
#include "tambre32/redundancy.h"

namespace {

constexpr int kMaxRemoteName = 127;
constexpr UINT kMaxTimeoutSeconds = 3600;
constexpr UINT kMaxPort = 65535;

// The record of the one setup dialog open in the process.
RedundancySettings* g_editing = nullptr;

int mode_radio(int mode) {
  switch (mode) {
    case 1:
      return IDC_REDUNDANCY_MODE_MASTER;
    case 2:
      return IDC_REDUNDANCY_MODE_STANDBY;
    default:
      return IDC_REDUNDANCY_MODE_OFF;
  }
}

int16_t checked_mode(HWND dialog) {
  if (IsDlgButtonChecked(dialog, IDC_REDUNDANCY_MODE_MASTER) == BST_CHECKED) return 1;
  if (IsDlgButtonChecked(dialog, IDC_REDUNDANCY_MODE_STANDBY) == BST_CHECKED) return 2;
  return 0;
}

void enable_fields(HWND dialog) {
  const BOOL active = IsDlgButtonChecked(dialog, IDC_REDUNDANCY_MODE_OFF) != BST_CHECKED;
  for (int field : {IDC_REDUNDANCY_REMOTE, IDC_REDUNDANCY_PORT, IDC_REDUNDANCY_TIMEOUT}) {
    EnableWindow(GetDlgItem(dialog, field), active);
  }
}

void fill(HWND dialog, const RedundancySettings& settings) {
  CheckRadioButton(dialog, IDC_REDUNDANCY_MODE_OFF, IDC_REDUNDANCY_MODE_STANDBY, mode_radio(settings.Mode));
  char remote[sizeof settings.RemoteMachine];
  lstrcpynA(remote, settings.RemoteMachine, sizeof remote);
  SetDlgItemTextA(dialog, IDC_REDUNDANCY_REMOTE, remote);
  SetDlgItemInt(dialog, IDC_REDUNDANCY_PORT, settings.IPPort, FALSE);
  SetDlgItemInt(dialog, IDC_REDUNDANCY_TIMEOUT, static_cast<UINT>(settings.AliveTimeout / 1000), TRUE);
  SendDlgItemMessageA(dialog, IDC_REDUNDANCY_REMOTE, EM_LIMITTEXT, kMaxRemoteName, 0);
  enable_fields(dialog);
}

// Takes the fields into the record; false (the record untouched) when an active link
// lacks a port, a timeout or a remote name.
bool take(HWND dialog, RedundancySettings& settings) {
  const int16_t mode = checked_mode(dialog);
  if (mode != 0) {
    BOOL port_ok = FALSE;
    BOOL timeout_ok = FALSE;
    const UINT port = GetDlgItemInt(dialog, IDC_REDUNDANCY_PORT, &port_ok, FALSE);
    const UINT timeout = GetDlgItemInt(dialog, IDC_REDUNDANCY_TIMEOUT, &timeout_ok, FALSE);
    char remote[kMaxRemoteName + 1] = "";
    GetDlgItemTextA(dialog, IDC_REDUNDANCY_REMOTE, remote, sizeof remote);
    if (!port_ok || port < 1 || port > kMaxPort || !timeout_ok || timeout < 1 || timeout > kMaxTimeoutSeconds ||
        remote[0] == '\0') {
      return false;
    }
    settings.AliveTimeout = static_cast<int32_t>(timeout * 1000);
    settings.IPPort = static_cast<uint16_t>(port);
    lstrcpynA(settings.RemoteMachine, remote, sizeof settings.RemoteMachine);
  }
  // A deactivated link keeps its other settings for the day it is switched on again.
  settings.Mode = mode;
  return true;
}

INT_PTR CALLBACK setup_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      g_editing = reinterpret_cast<RedundancySettings*>(lparam);
      fill(dialog, *g_editing);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_REDUNDANCY_MODE_OFF:
        case IDC_REDUNDANCY_MODE_MASTER:
        case IDC_REDUNDANCY_MODE_STANDBY:
          if (HIWORD(wparam) == BN_CLICKED) enable_fields(dialog);
          return TRUE;
        case IDOK:
          if (g_editing == nullptr || !take(dialog, *g_editing)) {
            MessageBeep(MB_ICONEXCLAMATION);
            return TRUE;
          }
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      g_editing = nullptr;
      break;
  }
  return FALSE;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
SetupRedundancy(HWND parent, HMODULE module, short index, RedundancySettings* settings) {
  RedundancySettings stored{};
  RedundancySettings* editing = settings;
  if (editing == nullptr) {
    LoadMachineRedundancy(module, index, &stored);
    editing = &stored;
  }
  const INT_PTR result = DialogBoxParamA(tambre::sys::module_instance(), MAKEINTRESOURCEA(IDD_REDUNDANCY_SETUP), parent,
                                         setup_dialog, reinterpret_cast<LPARAM>(editing));
  if (result != IDOK) return 0;
  if (settings == nullptr) SaveMachineRedundancy(module, index, &stored);
  return 1;
}
