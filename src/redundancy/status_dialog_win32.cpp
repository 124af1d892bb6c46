// The redundancy status dialog: shows an open link as QueryRedundancy leaves it, refreshed
// every second. It only reads the handle.
#include <windows.h>

#include <cstdio>

#include "redundancy/dialog_ids.h"
#include "redundancy/link_logic.h"
#include "string_ids.h"
#include "sys/module_instance.h"
#include "tambre32/redundancy.h"

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 1000;

// The link of the one status dialog open in the process.
const RedundancyHandle* g_showing = nullptr;

void set_library_text(HWND dialog, int field, UINT id) {
  char text[64] = "";
  LoadStringA(tambre::sys::module_instance(), id, text, sizeof text);
  SetDlgItemTextA(dialog, field, text);
}

void set_unsigned(HWND dialog, int field, std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
  SetDlgItemTextA(dialog, field, text);
}

void refresh(HWND dialog, const RedundancyHandle& link) {
  if (link.Mode == tambre::redundancy::mode_standby) {
    const bool online = (link.Status & tambre::redundancy::status_online) != 0;
    set_library_text(dialog, IDC_REDUNDANCY_STATUS,
                     online ? IDS_REDUNDANCY_MASTER_ONLINE : IDS_REDUNDANCY_MASTER_OFFLINE);
    set_unsigned(dialog, IDC_REDUNDANCY_TICKER, link.LastContact);
    set_unsigned(dialog, IDC_REDUNDANCY_COUNTER, link.SequenceA);
  } else if (link.Mode == tambre::redundancy::mode_master) {
    set_library_text(dialog, IDC_REDUNDANCY_STATUS, IDS_REDUNDANCY_ONLINE);
  }
}

void fill(HWND dialog, const RedundancyHandle& link) {
  const int radio = link.Mode == tambre::redundancy::mode_master    ? IDC_REDUNDANCY_MODE_MASTER
                    : link.Mode == tambre::redundancy::mode_standby ? IDC_REDUNDANCY_MODE_STANDBY
                                                                    : IDC_REDUNDANCY_MODE_OFF;
  CheckRadioButton(dialog, IDC_REDUNDANCY_MODE_OFF, IDC_REDUNDANCY_MODE_STANDBY, radio);
  char remote[sizeof link.RemoteName];
  lstrcpynA(remote, link.RemoteName, sizeof remote);
  SetDlgItemTextA(dialog, IDC_REDUNDANCY_REMOTE, remote);
  // The handle keeps the port in network byte order.
  const unsigned port = ((link.Port & 0xFFu) << 8) | (link.Port >> 8);
  SetDlgItemInt(dialog, IDC_REDUNDANCY_PORT, port, FALSE);
  refresh(dialog, link);
}

INT_PTR CALLBACK status_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      g_showing = reinterpret_cast<const RedundancyHandle*>(lparam);
      fill(dialog, *g_showing);
      SetTimer(dialog, kRefreshTimer, kRefreshMs, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wparam == kRefreshTimer && g_showing != nullptr) refresh(dialog, *g_showing);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        KillTimer(dialog, kRefreshTimer);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      g_showing = nullptr;
      break;
  }
  return FALSE;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) ShowRedundancyStatus(HWND parent, const RedundancyHandle* handle) {
  if (handle == nullptr) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  DialogBoxParamA(tambre::sys::module_instance(), MAKEINTRESOURCEA(IDD_REDUNDANCY_STATUS), parent, status_dialog,
                  reinterpret_cast<LPARAM>(handle));
  return 1;
}
