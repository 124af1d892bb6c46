#include "ui/list_text_layout.h"

#include <algorithm>
#include <cstring>

namespace tambre::ui {

char export_separator(const char* file) {
  if (file != nullptr && (std::strstr(file, ".csv") != nullptr || std::strstr(file, ".CSV") != nullptr)) return ';';
  return ' ';
}

void widen_columns(std::vector<std::size_t>& widths, const text_row& row) {
  if (widths.size() < row.size()) widths.resize(row.size(), 0);
  for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
}

std::string export_line(const text_row& row, const std::vector<std::size_t>& widths, char separator) {
  std::string line;
  for (std::size_t i = 0; i < row.size(); ++i) {
    line += row[i];
    std::size_t width = i < widths.size() ? widths[i] : 0;
    if (row[i].size() < width) line.append(width - row[i].size(), ' ');
    line += separator;
  }
  return line;
}

void append_clipboard_row(std::string& text, const text_row& row) {
  std::size_t length = 0;
  for (const std::string& cell : row) {
    if (length + cell.size() + 1 > kClipboardLineLimit) break;
    text += cell;
    text += '\t';
    length += cell.size() + 1;
  }
  text += "\r\n";
}

void append_clipboard_tree_item(std::string& text, int depth, const std::string& item) {
  text.append(static_cast<std::size_t>(std::clamp(depth, 0, kClipboardTreeDepth)), '\t');
  text += item;
  text += "\r\n";
}

}  // namespace tambre::ui
