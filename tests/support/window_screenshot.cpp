#include "support/window_screenshot.h"

#include <cstdio>
#include <filesystem>

#include "support/child_process.h"

namespace tambre::test {

std::string source_tree_path(const std::string& source_dir, const std::string& relative) {
  std::string unix_dir = source_dir.rfind("Z:", 0) == 0 ? source_dir.substr(2) : source_dir;
  return unix_dir + "/" + relative;
}

bool save_window_png(HWND window, const std::string& png_path) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  // Let every pending paint reach the X server before the picture is taken.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  char command[1024];
  std::snprintf(
      command, sizeof command,
      "/bin/sh -c \"xwd -root -silent -display $DISPLAY | /usr/bin/convert xwd:- -crop %ldx%ld+%ld+%ld +repage "
      "png:'%s'\"",
      rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top, png_path.c_str());
  std::error_code ignored;
  std::filesystem::remove("Z:" + png_path, ignored);
  child_process shot(command);
  // Wine gives no usable handle of a Unix child (it may be signalled or missing before the
  // child is done): the picture is there
  // once the file exists and has stopped growing.
  const std::string file = "Z:" + png_path;
  std::uintmax_t last = 0;
  for (int i = 0; i < 300; ++i) {
    Sleep(50);
    std::uintmax_t size = std::filesystem::exists(file, ignored) ? std::filesystem::file_size(file, ignored) : 0;
    if (size > 0 && size != static_cast<std::uintmax_t>(-1) && size == last) return true;
    last = size;
  }
  return false;
}

}  // namespace tambre::test
