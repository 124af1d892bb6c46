// Tab controls and list-view columns filled from string-table entries.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "tambre32/ui.h"
#include "ui/item_text.h"
#include "ui/resource_string_win32.h"
#include "ui/window_class_win32.h"

namespace {

constexpr int kTabChars = 255;
constexpr int kColumnChars = 79;

int list_view_format(tambre::ui::column_alignment alignment) {
  switch (alignment) {
    case tambre::ui::column_alignment::right:
      return LVCFMT_RIGHT;
    case tambre::ui::column_alignment::centre:
      return LVCFMT_CENTER;
    default:
      return LVCFMT_LEFT;
  }
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
InitTabStr(HWND dialog, int id, HINSTANCE module, UINT first_string, int count, int selected) {
  HWND control = GetDlgItem(dialog, id);
  if (!tambre::ui::has_class(control, WC_TABCONTROLA)) return 0;
  SendMessageA(control, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < count; ++i) {
    auto text = tambre::ui::load_resource_string(module, first_string + i, kTabChars);
    if (!text) return 0;
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text->data();
    if (SendMessageA(control, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab)) < 0) return 0;
  }
  SendMessageA(control, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return 1;
}

// Only the list view is supported: the table control with its own add-column message is
// not part of this library, so its class fails like any other.
TAMBRE_EXPORT(int, TAMBRE_STDCALL) InitHeaderStr(HWND dialog, int id, HINSTANCE module, UINT first_string, int count) {
  HWND control = GetDlgItem(dialog, id);
  if (!tambre::ui::has_class(control, WC_LISTVIEWA)) return 0;
  for (int i = 0; i < count; ++i) {
    // A missing description leaves its column out; the later ones keep their sub-items.
    auto entry = tambre::ui::load_resource_string(module, first_string + i, kColumnChars);
    if (!entry) continue;
    tambre::ui::column_description description = tambre::ui::parse_column_description(entry->c_str());
    std::vector<char> name(description.name.begin(), description.name.end());
    name.push_back('\0');
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = list_view_format(description.alignment);
    column.cx = description.width;
    column.pszText = name.data();
    column.iSubItem = i;
    SendMessageA(control, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  return 1;
}
