#pragma once
// The texts list controls are filled from: "text|data" items and "name|width|alignment"
// column descriptions, as string-table entries hold them.

#include <cstdint>
#include <string>

namespace tambre::ui {

struct item_text {
  std::string text;
  bool has_data = false;
  std::uint32_t data = 0;  // hexadecimal after "0x", decimal otherwise
};

// Splits an item at its first "|"; the number behind it is read as far as it goes.
item_text parse_item_text(const char* entry);

enum class column_alignment { left, right, centre };

struct column_description {
  std::string name;
  int width = 80;  // pixels; 80 when the entry gives none
  column_alignment alignment = column_alignment::left;
};

// Reads "name|width|alignment": an alignment beginning with r is right, with c centred.
column_description parse_column_description(const char* entry);

}  // namespace tambre::ui
