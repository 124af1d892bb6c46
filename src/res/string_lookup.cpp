#include <algorithm>

#include "res/string_table.h"

namespace tambre::res {

const char* find_string(unsigned id) {
  const string_entry* end = string_table + string_table_size;
  const string_entry* hit =
      std::lower_bound(string_table, end, id, [](const string_entry& e, unsigned key) { return e.id < key; });
  return hit != end && hit->id == id ? hit->text : nullptr;
}

}  // namespace tambre::res
