#include "ui/list_view_reader_win32.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace tambre::ui {

int list_view_columns(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return 0;
  return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

int list_view_rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

text_row list_view_header(HWND list, int columns, int max_chars) {
  text_row row;
  std::vector<char> buffer(static_cast<size_t>(max_chars) + 1);
  for (int i = 0; i < columns; ++i) {
    buffer[0] = '\0';
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer.data();
    column.cchTextMax = max_chars + 1;
    if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)))
      buffer[0] = '\0';
    row.emplace_back(buffer.data());
  }
  return row;
}

text_row list_view_row(HWND list, int row, int columns, int max_chars) {
  text_row cells;
  std::vector<char> buffer(static_cast<size_t>(max_chars) + 1);
  for (int i = 0; i < columns; ++i) {
    buffer[0] = '\0';
    LVITEMA item{};
    item.iSubItem = i;
    item.pszText = buffer.data();
    item.cchTextMax = max_chars + 1;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    // A list that keeps its own texts may point the item at them instead of filling ours.
    std::string cell = item.pszText != nullptr ? item.pszText : "";
    if (cell.size() > static_cast<size_t>(max_chars)) cell.resize(static_cast<size_t>(max_chars));
    cells.push_back(std::move(cell));
  }
  return cells;
}

}  // namespace tambre::ui
