#pragma once
// Reads the header and cell texts of a list view.
#include <windows.h>

#include "ui/list_text_layout.h"

namespace tambre::ui {

// The number of columns (header items) and rows of a list view.
int list_view_columns(HWND list);
int list_view_rows(HWND list);

// The header texts of the first `columns` columns, each cut to `max_chars`.
text_row list_view_header(HWND list, int columns, int max_chars);
// The cells of `row`; a cell that cannot be read is empty.
text_row list_view_row(HWND list, int row, int columns, int max_chars);

}  // namespace tambre::ui
