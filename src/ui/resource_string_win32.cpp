#include "ui/resource_string_win32.h"

#include <vector>

namespace tambre::ui {

std::optional<std::string> load_resource_string(HINSTANCE module, UINT id, int max_chars) {
  std::vector<char> buffer(static_cast<size_t>(max_chars) + 1);
  int length = LoadStringA(module, id, buffer.data(), max_chars + 1);
  if (length <= 0) return std::nullopt;
  return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace tambre::ui
