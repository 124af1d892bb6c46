// The walk over a whole registry-file text.
#include "config/reg_file_walk.h"

namespace tambre::config {

namespace {
constexpr std::int32_t kRegAccessDenied = 5;  // ERROR_ACCESS_DENIED
}  // namespace

reg_outcome run_reg_text(const char* text, reg_store& store, bool remove) {
  reg_line_reader reader(text);
  reg_outcome outcome;
  std::string_view raw;
  while (reader.next(raw)) {
    const int number = reader.number();
    const reg_line line = parse_reg_line(raw, number, !remove);
    std::int32_t code = kRegOk;
    switch (line.type) {
      case reg_line::kind::ignored:
      case reg_line::kind::header:
        continue;
      case reg_line::kind::bad:
        code = line.error;
        break;
      case reg_line::kind::key:
        store.close_key();
        if (!remove) {
          code = store.open_key(line.root, std::string(line.path));
          break;
        }
        if (line.path.empty()) {
          // The root itself is never deleted: that would empty the whole hive.
          outcome = {kRegAccessDenied, number};
        } else if (store.key_exists(line.root, std::string(line.path))) {
          outcome = {store.delete_tree(line.root, std::string(line.path)), number};
        }
        continue;
      case reg_line::kind::value:
        code = line.is_dword ? store.set_dword(std::string(line.name), line.dword)
                             : store.set_text(std::string(line.name), std::string(line.text));
        break;
    }
    if (code != kRegOk) {
      store.close_key();
      return {code, number};
    }
  }
  store.close_key();
  return outcome;
}

}  // namespace tambre::config
