#include "ui/window_class_win32.h"

namespace tambre::ui {

bool has_class(HWND window, const char* class_name) {
  char name[64];
  if (window == nullptr || GetClassNameA(window, name, sizeof name) == 0) return false;
  return lstrcmpiA(name, class_name) == 0;
}

}  // namespace tambre::ui
