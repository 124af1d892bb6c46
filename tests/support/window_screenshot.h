#pragma once
// Saves what a window shows on the X display as a PNG (xwd and ImageMagick's convert,
// started as Unix programs from the Wine process).
#include <windows.h>

#include <string>

namespace tambre::test {

// Crops the root window to `window`'s rectangle into the Unix path `png_path`; true when
// the file was written.
bool save_window_png(HWND window, const std::string& png_path);

// The Unix path of a file of the source tree (TAMBRE_SOURCE_DIR of the test program).
std::string source_tree_path(const std::string& source_dir, const std::string& relative);

}  // namespace tambre::test
