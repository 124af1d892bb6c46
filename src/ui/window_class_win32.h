#pragma once
// Which kind of control a window is, by its class name compared without regard to case.
#include <windows.h>

namespace tambre::ui {

bool has_class(HWND window, const char* class_name);

}  // namespace tambre::ui
