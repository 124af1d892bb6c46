#pragma once
// Saves a PNG of a top-level window of this process when TAMBRE_SCREENSHOT_DIR names a
// (Unix) folder; nothing happens without the variable.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/window_screenshot.h"

namespace tambre::test {

// False when a screenshot was asked for and no picture came of it.
inline bool save_screenshot(HWND window, const char* name) {
  const char* folder = std::getenv("TAMBRE_SCREENSHOT_DIR");
  if (folder == nullptr || folder[0] == '\0') return true;
  return save_window_png(window, std::string(folder) + "/" + name + ".png");
}

}  // namespace tambre::test
