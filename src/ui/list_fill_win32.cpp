// List boxes and combo boxes filled with numbers or string-table entries. Both classes
// are driven through one message set, so every filler works for either.
#include <windows.h>

#include <string>

#include "tambre32/ui.h"
#include "ui/item_text.h"
#include "ui/resource_string_win32.h"
#include "ui/window_class_win32.h"

namespace {

constexpr int kItemChars = 255;
constexpr DWORD kSelectByData = 0x80000000UL;

struct list_messages {
  UINT reset = 0, insert = 0, select = 0, set_data = 0;
};

// The control's message set, or kind 0.
int messages_of(HWND control, list_messages& m) {
  return GetListMessages(control, &m.reset, &m.insert, &m.select, &m.set_data);
}

// Appends `text`; the new index, negative on failure.
LRESULT append(HWND control, const list_messages& m, const char* text) {
  return SendMessageA(control, m.insert, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetListMessages(HWND control, UINT* reset, UINT* insert, UINT* select, UINT* set_data) {
  list_messages m;
  int kind = TAMBRE_LIST_OTHER;
  if (tambre::ui::has_class(control, "Listbox")) {
    kind = TAMBRE_LIST_LISTBOX;
    m = {LB_RESETCONTENT, LB_INSERTSTRING, LB_SETCURSEL, LB_SETITEMDATA};
  } else if (tambre::ui::has_class(control, "Combobox")) {
    kind = TAMBRE_LIST_COMBOBOX;
    m = {CB_RESETCONTENT, CB_INSERTSTRING, CB_SETCURSEL, CB_SETITEMDATA};
  } else {
    return kind;
  }
  if (reset != nullptr) *reset = m.reset;
  if (insert != nullptr) *insert = m.insert;
  if (select != nullptr) *select = m.select;
  if (set_data != nullptr) *set_data = m.set_data;
  return kind;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) InitListInt(HWND dialog, int id, int first, int last, int selected) {
  HWND control = GetDlgItem(dialog, id);
  list_messages m;
  if (messages_of(control, m) == TAMBRE_LIST_OTHER) return 0;
  SendMessageA(control, m.reset, 0, 0);
  for (long long value = first; value <= last; ++value) {
    LRESULT index = append(control, m, std::to_string(value).c_str());
    if (index < 0) return 0;
    if (value == selected) SendMessageA(control, m.select, static_cast<WPARAM>(index), 0);
  }
  return 1;
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
InitListStr(HWND dialog, int id, HINSTANCE module, UINT first_string, int count, DWORD selection) {
  HWND control = GetDlgItem(dialog, id);
  list_messages m;
  if (messages_of(control, m) == TAMBRE_LIST_OTHER) return 0;
  SendMessageA(control, m.reset, 0, 0);
  const bool by_data = (selection & kSelectByData) != 0;
  const DWORD wanted = selection & ~kSelectByData;
  bool selected = false;
  for (int i = 0; i < count; ++i) {
    auto entry = tambre::ui::load_resource_string(module, first_string + i, kItemChars);
    if (!entry) return 0;
    tambre::ui::item_text item = tambre::ui::parse_item_text(entry->c_str());
    LRESULT index = append(control, m, item.text.c_str());
    if (index < 0) return 0;
    if (!item.has_data) continue;
    SendMessageA(control, m.set_data, static_cast<WPARAM>(index), static_cast<LPARAM>(item.data));
    // Only items that carry a data part take part in the selection by data; the first wins.
    if (by_data && !selected && item.data == wanted) {
      SendMessageA(control, m.select, static_cast<WPARAM>(index), 0);
      selected = true;
    }
  }
  if (!by_data) SendMessageA(control, m.select, static_cast<WPARAM>(selection), 0);
  return 1;
}
