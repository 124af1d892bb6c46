// The serial port setup dialog: shows the ports the system has and the settings of a
// configuration string, and composes the new string on OK.
#include "sio/setup_dialog_win32.h"

#include <cstdio>
#include <cstring>

#include "sio/comstr.h"
#include "sio/setup_dialog_ids.h"
#include "string_ids.h"
#include "sys/module_instance.h"
#include "tambre32/sio.h"
#include "tambre32/ui.h"

namespace tambre::sio {

namespace {

// Option bits that disable a control.
struct disabling_option {
  unsigned bit;
  int control;
};
constexpr disabling_option disabling_options[] = {{0x0001, IDC_SIO_BAUDRATE},
                                                  {0x0002, IDC_SIO_PARITY},
                                                  {0x0004, IDC_SIO_DATABITS},
                                                  {0x0008, IDC_SIO_PROTOCOL},
                                                  {0x0010, IDC_SIO_STOPBITS}};

constexpr const char* baud_rates[] = {"300",   "600",   "1200",  "2400",  "4800",   "9600",   "14400",
                                      "19200", "28800", "38400", "57600", "115200", "128000", "256000"};
constexpr const char* data_bits[] = {"5", "6", "7", "8"};
constexpr const char* stop_bits[] = {"1", "1.5", "2"};
constexpr int configured_line_controls[] = {IDC_SIO_INPUT_LABEL, IDC_SIO_OUTPUT_LABEL, IDC_SIO_DSR,
                                            IDC_SIO_CTS,         IDC_SIO_DTR,          IDC_SIO_RTS};
constexpr unsigned long lowest_baudrate = 300, highest_baudrate = 10000000;

// The one setup dialog of the process: its option word and the caller's buffer.
unsigned g_options = 0;
char* g_config = nullptr;

// Appends at the end (the lists are never sorted: positions stand for values).
LRESULT append(HWND dialog, int control, const char* text) {
  return SendDlgItemMessageA(dialog, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void select(HWND dialog, int control, int index) { SendDlgItemMessageA(dialog, control, CB_SETCURSEL, index, 0); }
int selected(HWND dialog, int control) {
  return static_cast<int>(SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0));
}

void fill_ports(HWND dialog) {
  unsigned char ports[256];
  EnumCOMPorts(ports);
  for (int n = 1; n <= 255; ++n) {
    if (ports[n] == 0) continue;
    char name[16];
    std::snprintf(name, sizeof name, "COM%i", n);
    const LRESULT at = append(dialog, IDC_SIO_PORT, name);
    if (at >= 0) SendDlgItemMessageA(dialog, IDC_SIO_PORT, CB_SETITEMDATA, static_cast<WPARAM>(at), n);
  }
}

void check(HWND dialog, int control, bool on) { CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED); }
bool checked(HWND dialog, int control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }

void enable_line_options(HWND dialog) {
  const BOOL configured = selected(dialog, IDC_SIO_PROTOCOL) == static_cast<int>(handshake_choice::configured);
  for (int control : configured_line_controls) EnableWindow(GetDlgItem(dialog, control), configured);
}

void show(HWND dialog, const char* config) {
  const dialog_settings settings =
      read_dialog_settings(config != nullptr && config[0] != '\0' ? config : default_comstr);
  select(dialog, IDC_SIO_PORT,
         static_cast<int>(SendDlgItemMessageA(dialog, IDC_SIO_PORT, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(settings.port_name.c_str()))));
  SetDlgItemTextA(dialog, IDC_SIO_BAUDRATE, settings.baud_text.c_str());
  const comstr_choices& c = settings.choices;
  select(dialog, IDC_SIO_PARITY, c.parity_index);
  select(dialog, IDC_SIO_DATABITS, c.data_bits_index);
  select(dialog, IDC_SIO_STOPBITS, c.stop_bits_index);
  select(dialog, IDC_SIO_PROTOCOL, static_cast<int>(c.handshake));
  check(dialog, IDC_SIO_DTR, c.dtr);
  check(dialog, IDC_SIO_RTS, c.rts);
  check(dialog, IDC_SIO_DSR, c.dsr);
  check(dialog, IDC_SIO_CTS, c.cts);
}

void start(HWND dialog) {
  fill_ports(dialog);
  for (const char* rate : baud_rates) append(dialog, IDC_SIO_BAUDRATE, rate);
  InitListStr(dialog, IDC_SIO_PARITY, sys::module_instance(), IDS_SIO_PARITY_NONE, 3, 0);
  for (const char* bits : data_bits) append(dialog, IDC_SIO_DATABITS, bits);
  for (const char* bits : stop_bits) append(dialog, IDC_SIO_STOPBITS, bits);
  InitListStr(dialog, IDC_SIO_PROTOCOL, sys::module_instance(), IDS_SIO_PROTOCOL_SOFTWARE, 4, 0);
  show(dialog, g_config);
  enable_line_options(dialog);
  for (const auto& option : disabling_options)
    if (g_options & option.bit) EnableWindow(GetDlgItem(dialog, option.control), FALSE);
}

void report_invalid(HWND dialog) {
  char text[256] = "", caption[64] = "";
  LoadStringA(sys::module_instance(), IDS_SETTINGS_INVALID, text, sizeof text);
  LoadStringA(sys::module_instance(), IDS_DRIVER_CAPTION, caption, sizeof caption);
  MessageBoxA(dialog, text, caption, MB_OK);
}

// The choices of the controls; false when no port is chosen or the baud rate is no
// number from 300 to 10000000.
bool read_choices(HWND dialog, comstr_choices& c) {
  const int port = selected(dialog, IDC_SIO_PORT);
  if (port < 0) return false;
  BOOL number = FALSE;
  const UINT baudrate = GetDlgItemInt(dialog, IDC_SIO_BAUDRATE, &number, FALSE);
  if (!number || baudrate < lowest_baudrate || baudrate > highest_baudrate) return false;
  c.port = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SIO_PORT, CB_GETITEMDATA, port, 0));
  c.baudrate = baudrate;
  c.parity_index = selected(dialog, IDC_SIO_PARITY);
  c.data_bits_index = selected(dialog, IDC_SIO_DATABITS);
  c.stop_bits_index = selected(dialog, IDC_SIO_STOPBITS);
  c.handshake = static_cast<handshake_choice>(selected(dialog, IDC_SIO_PROTOCOL));
  c.dtr = checked(dialog, IDC_SIO_DTR);
  c.rts = checked(dialog, IDC_SIO_RTS);
  c.dsr = checked(dialog, IDC_SIO_DSR);
  c.cts = checked(dialog, IDC_SIO_CTS);
  return true;
}

void confirm(HWND dialog) {
  comstr_choices choices;
  if (!read_choices(dialog, choices)) {
    report_invalid(dialog);
    return;
  }
  char composed[composed_comstr_size];
  compose_comstr(choices, composed, sizeof composed);
  std::strcpy(g_config, composed);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK setup_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      start(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_SIO_PROTOCOL:
          if (HIWORD(wparam) == CBN_SELCHANGE) enable_line_options(dialog);
          return TRUE;
        case IDOK:
          confirm(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int run_setup_dialog(HWND parent, char* config, unsigned options) {
  g_options = options;
  g_config = config;
  const INT_PTR result =
      DialogBoxParamA(sys::module_instance(), MAKEINTRESOURCEA(IDD_SIO_SETUP), parent, setup_dialog, 0);
  g_config = nullptr;
  return static_cast<int>(result);
}

}  // namespace tambre::sio
