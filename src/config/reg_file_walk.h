#pragma once
// The walk over a whole registry-file text: keys and values go to a keyed store, which
// the Win32 layer backs with the registry.

#include <cstdint>
#include <string>

#include "config/reg_file_parser.h"

namespace tambre::config {

// The keyed store an import writes to. Codes are the store's own, 0 for success.
class reg_store {
 public:
  virtual ~reg_store() = default;
  // Creates or opens the key; it stays open for the values that follow.
  virtual std::int32_t open_key(reg_root root, const std::string& path) = 0;
  virtual void close_key() = 0;
  // Sets a value in the open key (a failure when none is open).
  virtual std::int32_t set_text(const std::string& name, const std::string& text) = 0;
  virtual std::int32_t set_dword(const std::string& name, std::uint32_t value) = 0;
  virtual bool key_exists(reg_root root, const std::string& path) = 0;
  // Deletes the key with all its sub-keys and values.
  virtual std::int32_t delete_tree(reg_root root, const std::string& path) = 0;
};

struct reg_outcome {
  std::int32_t code = kRegOk;
  int line = 0;  // the line the code belongs to
};

// Imports the text into the store, or deletes the keys it names when `remove` is set.
// An import stops at the first bad line or failed store call, keeping what it wrote;
// removal goes on past failed deletions and returns the last deletion's code.
reg_outcome run_reg_text(const char* text, reg_store& store, bool remove);

}  // namespace tambre::config
