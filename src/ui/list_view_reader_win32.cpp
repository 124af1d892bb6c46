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

namespace {

// One text per column, each cut at max_chars; `read` fills the buffer for a column and
// returns where the text is (a list that keeps its own texts may point elsewhere).
template <typename Reader>
text_row read_texts(int columns, int max_chars, Reader read) {
  text_row texts;
  std::vector<char> buffer(static_cast<size_t>(max_chars) + 1);
  for (int i = 0; i < columns; ++i) {
    buffer[0] = '\0';
    const char* text = read(i, buffer.data(), max_chars + 1);
    std::string cell = text != nullptr ? text : "";
    if (cell.size() > static_cast<size_t>(max_chars)) cell.resize(static_cast<size_t>(max_chars));
    texts.push_back(std::move(cell));
  }
  return texts;
}

}  // namespace

text_row list_view_header(HWND list, int columns, int max_chars) {
  return read_texts(columns, max_chars, [list](int i, char* buffer, int size) -> const char* {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = size;
    if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column))) return "";
    return column.pszText;
  });
}

text_row list_view_row(HWND list, int row, int columns, int max_chars) {
  return read_texts(columns, max_chars, [list, row](int i, char* buffer, int size) -> const char* {
    LVITEMA item{};
    item.iSubItem = i;
    item.pszText = buffer;
    item.cchTextMax = size;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return item.pszText;
  });
}

}  // namespace tambre::ui
