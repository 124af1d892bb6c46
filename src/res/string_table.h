#pragma once
// The string table compiled into the portable core, sorted by id. The Windows build
// carries the same texts as a STRINGTABLE resource; both come from src/res/strings.txt.

namespace tambre::res {

struct string_entry {
  unsigned id;
  const char* text;  // code page 1252
};

extern const string_entry string_table[];
extern const unsigned string_table_size;

// The text of `id`, or null when the table has none.
const char* find_string(unsigned id);

}  // namespace tambre::res
