// Runs arbitrary text through the registry-file walk, importing and removing, into a
// store that checks what it is handed: no read past the text, names and texts free of
// quotes and line ends, a value only while a key is open, and a stop code that matches
// the line it names.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/hex_values.h"
#include "config/reg_file_walk.h"

namespace {

using tambre::config::reg_root;

class checking_store final : public tambre::config::reg_store {
 public:
  std::int32_t open_key(reg_root, const std::string& path) override {
    check(path, false);
    open_ = true;
    return path.size() % 7 == 3 ? 1021 : 0;  // some keys refuse, as a real store may
  }
  void close_key() override { open_ = false; }
  std::int32_t set_text(const std::string& name, const std::string& text) override {
    check(name, true);
    check(text, true);
    return open_ ? 0 : 6;
  }
  std::int32_t set_dword(const std::string& name, std::uint32_t) override {
    check(name, true);
    return open_ ? 0 : 6;
  }
  bool key_exists(reg_root, const std::string& path) override { return path.size() % 2 == 0; }
  std::int32_t delete_tree(reg_root, const std::string& path) override {
    check(path, false);
    if (path.empty()) std::abort();  // a root is never deleted
    return path.size() % 3 == 0 ? 5 : 0;
  }

 private:
  static void check(const std::string& text, bool quoted) {
    if (text.size() > tambre::config::kRegMaxLineLength) std::abort();
    for (char c : text) {
      if (c == '\r' || c == '\n' || c == '\0' || (quoted && c == '"') || (!quoted && c == ']')) std::abort();
    }
  }
  bool open_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (bool remove : {false, true}) {
    checking_store store;
    const tambre::config::reg_outcome outcome = tambre::config::run_reg_text(text.c_str(), store, remove);
    if (outcome.code != 0 && outcome.line <= 0) std::abort();
  }
  std::uint32_t values[20];
  const int read = tambre::config::read_hex_values(text.c_str(), values, 20);
  if (read < 0 || read > 20) std::abort();
  const std::string packed = tambre::config::format_hex_values(values, read);
  std::uint32_t again[20];
  if (tambre::config::read_hex_values(packed.c_str(), again, read) != (packed.empty() ? 0 : read)) std::abort();
  for (int i = 0; i < read && !packed.empty(); ++i) {
    if (again[i] != values[i]) std::abort();
  }
  return 0;
}
