#include "ui/item_text.h"

#include <cstdlib>
#include <cstring>

namespace tambre::ui {

item_text parse_item_text(const char* entry) {
  item_text item;
  if (entry == nullptr) return item;
  const char* bar = std::strchr(entry, '|');
  if (bar == nullptr) {
    item.text = entry;
    return item;
  }
  item.text.assign(entry, bar);
  const char* data = bar + 1;
  item.has_data = true;
  if (data[0] == '0' && (data[1] == 'x' || data[1] == 'X')) {
    item.data = static_cast<std::uint32_t>(std::strtoull(data + 2, nullptr, 16));
  } else {
    // Negative data ("-1") keeps its bit pattern, as the controls store it.
    item.data = static_cast<std::uint32_t>(std::strtoll(data, nullptr, 10));
  }
  return item;
}

column_description parse_column_description(const char* entry) {
  column_description column;
  if (entry == nullptr) return column;
  const char* bar = std::strchr(entry, '|');
  if (bar == nullptr) {
    column.name = entry;
    return column;
  }
  column.name.assign(entry, bar);
  const char* width = bar + 1;
  const char* next = std::strchr(width, '|');
  if (width != next && *width != '\0') column.width = std::atoi(width);
  if (next != nullptr) {
    char first = next[1];
    if (first == 'r' || first == 'R') column.alignment = column_alignment::right;
    if (first == 'c' || first == 'C') column.alignment = column_alignment::centre;
  }
  return column;
}

}  // namespace tambre::ui
