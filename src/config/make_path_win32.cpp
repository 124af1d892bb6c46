// Creates whole directory paths, walking them with the process's current directory.
#include <windows.h>

#include <string>

#include "config/file_names.h"
#include "tambre32/filenames.h"

namespace {

bool path_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) mkpath(const char* path) {
  if (path == nullptr) return -1;
  const std::string full(path);
  std::string root;
  std::size_t rest = 0;
  if (tambre::config::is_unc_path(path)) {
    // \\server\share is the root.
    const std::size_t share = full.find('\\', 2);
    const std::size_t after_share = full.find('\\', share + 1);
    if (after_share == std::string::npos || after_share + 1 == full.size()) return path_exists(full) ? 0 : -1;
    root = full.substr(0, after_share);
    rest = after_share + 1;
  } else {
    if (full.size() < 2 || !is_ascii_letter(full[0]) || full[1] != ':') return -1;
    // A drive-relative path is only checked.
    if (full.size() < 3 || full[2] != '\\') return path_exists(full) ? 0 : -1;
    root = full.substr(0, 3);
    rest = 3;
  }
  if (!SetCurrentDirectoryA(root.c_str())) return -1;
  while (rest < full.size()) {
    std::size_t end = full.find('\\', rest);
    if (end == std::string::npos) end = full.size();
    const std::string component = full.substr(rest, end - rest);
    rest = end + 1;
    if (component.empty()) continue;
    // An existing directory is no error; entering it decides.
    CreateDirectoryA(component.c_str(), nullptr);
    if (!SetCurrentDirectoryA(component.c_str())) return -1;
  }
  return 0;
}
