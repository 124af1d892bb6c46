#pragma once
// Registry files in the REGEDIT4 text format, the subset drivers register with: keys
// under three roots, the default and named values, texts and double words. The text is
// cut into lines and each line into its parts. No platform call.

#include <cstdint>
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

}  // namespace tambre::config
