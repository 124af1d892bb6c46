#pragma once
// The name tables of ctMIn and ctMOut that a driver object copies and owns.
#include "tambre32/codriver.h"

namespace tambre::codriver {

void free_owned_names(CoDriver& driver);
// A copy of count entries of entry_size bytes, or null (no table, no count, no memory).
char* copy_name_table(const char* table, int count, int entry_size);

}  // namespace tambre::codriver
