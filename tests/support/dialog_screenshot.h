#pragma once
// Saves a PNG of a top-level window of this process when TAMBRE_SCREENSHOT_DIR names a
// (Unix) folder: xwd dumps the X window of that title, ImageMagick converts it; both run
// as Unix programs started from Wine. Nothing happens without the variable.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tambre::test {

// False when a screenshot was asked for and no picture came of it.
inline bool save_screenshot(HWND window, const char* name) {
  const char* folder = std::getenv("TAMBRE_SCREENSHOT_DIR");
  if (folder == nullptr || folder[0] == '\0') return true;
  // Paint everything before the picture is taken.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  SendMessageA(window, WM_NULL, 0, 0);
  char title[256] = "";
  GetWindowTextA(window, title, sizeof title);
  const std::string png = std::string(folder) + "/" + name + ".png";
  const std::string windows_path = "Z:" + png;
  DeleteFileA(windows_path.c_str());
  char command[1024];
  std::snprintf(command, sizeof command,
                "Z:\\bin\\sh -c \"xwd -display $DISPLAY -name '%s' | convert xwd:- png:%s.part && mv %s.part %s\"",
                title, png.c_str(), png.c_str(), png.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // A Unix program's handle tells nothing of its end: the finished picture is renamed
  // into place, and that is what counts.
  for (int i = 0; i < 3000; ++i) {
    if (GetFileAttributesA(windows_path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace tambre::test
