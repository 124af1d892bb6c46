#pragma once
// Registry files in the REGEDIT4 text format, the subset drivers register with: keys
// under three roots, the default and named values, texts and double words. The text is
// cut into lines, each line into its parts, and the walk over a whole text hands keys and
// values to a keyed store. No platform call: the Win32 layer supplies the store.

#include <cstdint>
#include <string>
#include <string_view>

namespace tambre::config {

// Results of an import besides the store's own error codes (the system's values).
constexpr std::int32_t kRegOk = 0;
constexpr std::int32_t kRegBadKey = 1010;                                        // ERROR_BADKEY
constexpr std::int32_t kRegNotRegistryFile = 1017;                               // ERROR_NOT_REGISTRY_FILE
constexpr std::int32_t kRegInvalidArg = static_cast<std::int32_t>(0x80070057u);  // E_INVALIDARG

// Characters of a line that are read; the rest of a longer line is skipped.
constexpr std::size_t kRegMaxLineLength = 511;

enum class reg_root { classes_root, current_user, local_machine };

// Cuts a zero-terminated text into lines ended by CR LF, LF or CR, numbered from 1.
class reg_line_reader {
 public:
  explicit reg_line_reader(const char* text) : next_(text) {}
  // The next line without its end, at most kRegMaxLineLength characters; false at the
  // terminating zero.
  bool next(std::string_view& line);
  int number() const { return number_; }

 private:
  const char* next_;
  int number_ = 0;
};

// One line, after its leading blanks, as the import reads it.
struct reg_line {
  enum class kind { ignored, header, key, value, bad };
  kind type = kind::ignored;
  std::int32_t error = kRegOk;  // bad: the code that stops the import
  reg_root root = reg_root::classes_root;
  std::string_view path;  // key: the path below the root
  std::string_view name;  // value: empty for the default value '@'
  bool is_dword = false;
  std::string_view text;    // value: a text
  std::uint32_t dword = 0;  // value: a double word
};

// True when `line` is exactly one of the two headers.
bool is_reg_header(std::string_view line);

// Reads line `number` (counted from 1). Value lines are only taken apart when `values` is
// set; otherwise they come back as ignored (removal reads keys only).
reg_line parse_reg_line(std::string_view line, int number, bool values);

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
