// The schedule dialog "Zeitperiode einstellen" on a tambre32::timespec record.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <ctime>
#include <initializer_list>

#include "string_ids.h"
#include "sys/module_instance.h"
#include "tambre32/schedule.h"
#include "tambre32/ui.h"
#include "time/calendar.h"
#include "time/local_time.h"
#include "ui/schedule_dialog_ids.h"

namespace tt = tambre::time;

namespace {

// The record of the one schedule dialog open in the process.
tambre32::timespec* g_editing = nullptr;

struct spin_range {
  int spin, low, high;
};
constexpr spin_range spin_ranges[] = {
    {IDC_TIMESPEC_DAY_SPIN, 1, 31},          {IDC_TIMESPEC_HOUR_SPIN, 0, 23},
    {IDC_TIMESPEC_MINUTE_SPIN, 0, 59},       {IDC_TIMESPEC_PERIOD_DAYS_SPIN, 0, 999},
    {IDC_TIMESPEC_PERIOD_HOURS_SPIN, 0, 23}, {IDC_TIMESPEC_PERIOD_MINUTES_SPIN, 0, 59},
    {IDC_TIMESPEC_ONCE_DAY_SPIN, 1, 31},     {IDC_TIMESPEC_ONCE_YEAR_SPIN, 1997, 2099},
    {IDC_TIMESPEC_ONCE_HOUR_SPIN, 0, 23},    {IDC_TIMESPEC_ONCE_MINUTE_SPIN, 0, 59}};

constexpr int once_fields[] = {IDC_TIMESPEC_ONCE_DAY,       IDC_TIMESPEC_ONCE_DAY_SPIN,  IDC_TIMESPEC_ONCE_MONTH,
                               IDC_TIMESPEC_ONCE_YEAR,      IDC_TIMESPEC_ONCE_YEAR_SPIN, IDC_TIMESPEC_ONCE_HOUR,
                               IDC_TIMESPEC_ONCE_HOUR_SPIN, IDC_TIMESPEC_ONCE_MINUTE,    IDC_TIMESPEC_ONCE_MINUTE_SPIN};

// The periodic fields and the kinds that use them.
struct kind_field {
  int control;
  bool (*used)(int kind);
};
constexpr kind_field periodic_fields[] = {
    {IDC_TIMESPEC_KIND, [](int) { return true; }},
    {IDC_TIMESPEC_PERIOD_DAYS, [](int k) { return k == 99; }},
    {IDC_TIMESPEC_PERIOD_DAYS_SPIN, [](int k) { return k == 99; }},
    {IDC_TIMESPEC_PERIOD_HOURS, [](int k) { return k == 99; }},
    {IDC_TIMESPEC_PERIOD_HOURS_SPIN, [](int k) { return k == 99; }},
    {IDC_TIMESPEC_PERIOD_MINUTES, [](int k) { return k == 99; }},
    {IDC_TIMESPEC_PERIOD_MINUTES_SPIN, [](int k) { return k == 99; }},
    {IDC_TIMESPEC_MONTH, [](int k) { return k == 6 || k == 7 || k == 99; }},
    {IDC_TIMESPEC_DAY, [](int k) { return k >= 5; }},
    {IDC_TIMESPEC_DAY_SPIN, [](int k) { return k >= 5; }},
    {IDC_TIMESPEC_HOUR, [](int k) { return k >= 3; }},
    {IDC_TIMESPEC_HOUR_SPIN, [](int k) { return k >= 3; }},
    {IDC_TIMESPEC_MINUTE, [](int k) { return k >= 2; }},
    {IDC_TIMESPEC_MINUTE_SPIN, [](int k) { return k >= 2; }},
    {IDC_TIMESPEC_WEEKDAY, [](int k) { return k == 4; }},
};

LRESULT send(HWND dialog, int control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return SendDlgItemMessageA(dialog, control, message, wparam, lparam);
}

int selected(HWND dialog, int control) { return static_cast<int>(send(dialog, control, CB_GETCURSEL)); }

// Fills a list from `count` library strings ("text" or "text|kind") and selects entry
// `selection` (none when it is out of range).
void fill_list(HWND dialog, int control, unsigned first_id, int count, int selection) {
  InitListStr(dialog, control, tambre::sys::module_instance(), first_id, count, static_cast<DWORD>(selection));
}

// The kind the selected list entry stands for; -1 without a selection.
int listed_kind(HWND dialog) {
  const int at = selected(dialog, IDC_TIMESPEC_KIND);
  return at < 0 ? -1 : static_cast<int>(send(dialog, IDC_TIMESPEC_KIND, CB_GETITEMDATA, static_cast<WPARAM>(at)));
}

bool once_chosen(HWND dialog) { return IsDlgButtonChecked(dialog, IDC_TIMESPEC_ONCE) == BST_CHECKED; }

void enable_fields(HWND dialog) {
  const bool once = once_chosen(dialog);
  const int kind = listed_kind(dialog);
  for (const auto& field : periodic_fields) EnableWindow(GetDlgItem(dialog, field.control), !once && field.used(kind));
  for (int control : once_fields) EnableWindow(GetDlgItem(dialog, control), once);
}

// A choice of mode or kind takes effect in the record at once (Cancel keeps it).
void take_kind(HWND dialog) {
  if (g_editing == nullptr) return;
  if (once_chosen(dialog))
    g_editing->kind = tambre32::timespec_once;
  else if (listed_kind(dialog) >= 0)
    g_editing->kind = listed_kind(dialog);
  enable_fields(dialog);
}

void set_number(HWND dialog, int control, int value) { SetDlgItemInt(dialog, control, static_cast<UINT>(value), TRUE); }

// A field's number; false when it holds none.
bool number(HWND dialog, int control, int& value) {
  BOOL ok = FALSE;
  value = static_cast<int>(GetDlgItemInt(dialog, control, &ok, TRUE));
  return ok != FALSE;
}

void show(HWND dialog, tambre32::timespec& r) {
  r.recalc();
  for (const auto& range : spin_ranges) send(dialog, range.spin, UDM_SETRANGE32, range.low, range.high);
  const bool periodic_entry = r.kind >= 1 && r.kind <= 7;
  fill_list(dialog, IDC_TIMESPEC_KIND, IDS_SCHEDULE_KIND_USER_DEFINED, 8, periodic_entry ? r.kind : 0);
  fill_list(dialog, IDC_TIMESPEC_MONTH, IDS_MONTH_JANUARY, 12, r.month);
  fill_list(dialog, IDC_TIMESPEC_WEEKDAY, IDS_SCHEDULE_SUNDAY, 7, r.weekday);
  set_number(dialog, IDC_TIMESPEC_DAY, r.day + 1);
  set_number(dialog, IDC_TIMESPEC_HOUR, r.hour);
  set_number(dialog, IDC_TIMESPEC_MINUTE, r.minute);
  set_number(dialog, IDC_TIMESPEC_PERIOD_DAYS, r.length / 86400);
  set_number(dialog, IDC_TIMESPEC_PERIOD_HOURS, r.length % 86400 / 3600);
  set_number(dialog, IDC_TIMESPEC_PERIOD_MINUTES, r.length % 3600 / 60);

  std::tm once{};
  if (r.kind == tambre32::timespec_once) {
    once.tm_mday = r.day + 1;
    once.tm_mon = r.month;
    once.tm_year = r.year;
    once.tm_hour = r.hour;
    once.tm_min = r.minute;
  } else if (!tt::local_fields(tt::current_time() + 86400, once)) {
    once = {};
    once.tm_mday = 1;
    once.tm_year = 100;
  }
  set_number(dialog, IDC_TIMESPEC_ONCE_DAY, once.tm_mday);
  fill_list(dialog, IDC_TIMESPEC_ONCE_MONTH, IDS_MONTH_JANUARY, 12, once.tm_mon);
  set_number(dialog, IDC_TIMESPEC_ONCE_YEAR, once.tm_year + 1900);
  set_number(dialog, IDC_TIMESPEC_ONCE_HOUR, once.tm_hour);
  set_number(dialog, IDC_TIMESPEC_ONCE_MINUTE, once.tm_min);

  CheckRadioButton(dialog, IDC_TIMESPEC_PERIODIC, IDC_TIMESPEC_ONCE,
                   r.kind == tambre32::timespec_once ? IDC_TIMESPEC_ONCE : IDC_TIMESPEC_PERIODIC);
  enable_fields(dialog);
}

// The once fields into `r`; false for a day outside its month (February counted with 29
// days), a date the calendar rejects, or one before now.
bool take_once(HWND dialog, tambre32::timespec& r) {
  int minute, hour, day, year;
  if (!number(dialog, IDC_TIMESPEC_ONCE_MINUTE, minute) || !number(dialog, IDC_TIMESPEC_ONCE_HOUR, hour) ||
      !number(dialog, IDC_TIMESPEC_ONCE_DAY, day) || !number(dialog, IDC_TIMESPEC_ONCE_YEAR, year))
    return false;
  const int month = selected(dialog, IDC_TIMESPEC_ONCE_MONTH);
  if (month < 0) return false;
  minute %= 60;
  hour %= 24;
  year -= 1900;
  const int days = month == 1 ? 29 : tt::days_of_month(month, 101);
  if (day < 1 || day > days) return false;
  std::tm fields{};
  fields.tm_year = year;
  fields.tm_mon = month;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_isdst = -1;
  const tt::time_value at = tt::make_local(fields);
  if (at == tt::no_time || at < tt::current_time()) return false;
  r.kind = tambre32::timespec_once;
  r.minute = static_cast<short>(minute);
  r.hour = static_cast<short>(hour);
  r.day = static_cast<short>(day - 1);
  r.month = static_cast<short>(month);
  r.year = static_cast<short>(year);
  return true;
}

// The periodic fields into `r`; false for any combination that cannot be a schedule.
bool take_periodic(HWND dialog, tambre32::timespec& r) {
  const int kind = listed_kind(dialog);
  if (kind < 0) return false;
  int minute, hour, day;
  if (!number(dialog, IDC_TIMESPEC_MINUTE, minute) || !number(dialog, IDC_TIMESPEC_HOUR, hour) ||
      !number(dialog, IDC_TIMESPEC_DAY, day))
    return false;
  long long length = 0;
  if (kind == tambre32::timespec_user_defined) {
    int days, hours, minutes;
    if (!number(dialog, IDC_TIMESPEC_PERIOD_DAYS, days) || !number(dialog, IDC_TIMESPEC_PERIOD_HOURS, hours) ||
        !number(dialog, IDC_TIMESPEC_PERIOD_MINUTES, minutes))
      return false;
    length = (days % 367) * 86400LL + (hours % 24) * 3600LL + (minutes % 60) * 60LL;
    if (length < 1) return false;
  }
  long long weekday = kind == tambre32::timespec_weekly ? selected(dialog, IDC_TIMESPEC_WEEKDAY) : 0;
  long long month = selected(dialog, IDC_TIMESPEC_MONTH);
  long long offset_day = day - 1;
  minute %= 60;
  hour %= 24;
  if (kind < 7) {
    month %= 3;
    offset_day %= 31;
  }
  if (kind < 6) month = 0;
  if (kind < 5) offset_day = 0;
  if (kind < 4) weekday = 0;
  if (kind < 3) hour = 0;
  if (kind < 2) minute = 0;
  if (kind != tambre32::timespec_quarterly &&
      (month < 0 || month > 11 || offset_day + 1 > (month == 1 ? 28 : tt::days_of_month(static_cast<int>(month), 101))))
    return false;
  if (offset_day < 0 || weekday < 0) return false;
  const long long offset = minute * 60LL + hour * 3600LL + weekday * 86400 + offset_day * 86400 + month * 2678400;
  if (length < 0 || offset < 0 || (length != 0 && offset >= length)) return false;
  r.kind = kind;
  r.length = static_cast<int>(length);
  r.minute = static_cast<short>(minute);
  r.hour = static_cast<short>(hour);
  r.weekday = static_cast<short>(weekday);
  r.day = static_cast<short>(offset_day);
  r.month = static_cast<short>(month);
  r.year = 0;
  return true;
}

void confirm(HWND dialog) {
  if (g_editing == nullptr) return;
  tambre32::timespec edited = *g_editing;
  const bool valid = once_chosen(dialog) ? take_once(dialog, edited) : take_periodic(dialog, edited);
  if (!valid) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  edited.recalc();
  *g_editing = edited;
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK schedule_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      g_editing = reinterpret_cast<tambre32::timespec*>(lparam);
      show(dialog, *g_editing);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_TIMESPEC_PERIODIC:
        case IDC_TIMESPEC_ONCE:
          if (HIWORD(wparam) == BN_CLICKED) take_kind(dialog);
          return TRUE;
        case IDC_TIMESPEC_KIND:
          if (HIWORD(wparam) == CBN_SELCHANGE) take_kind(dialog);
          return TRUE;
        case IDOK:
          confirm(dialog);
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

int tambre32::timespec::setup(HWND parent) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  return static_cast<int>(DialogBoxParamA(tambre::sys::module_instance(), MAKEINTRESOURCEA(IDD_TIMESPEC), parent,
                                          schedule_dialog, reinterpret_cast<LPARAM>(this)));
}
