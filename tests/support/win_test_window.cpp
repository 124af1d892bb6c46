#include "support/win_test_window.h"

namespace tambre::test {

namespace {
const char kClassName[] = "TambreCountingWindow";
}

counting_window::counting_window() {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kClassName;
  RegisterClassA(&window_class);  // fails harmlessly when already registered
  window_ = CreateWindowExA(0, kClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
}

counting_window::~counting_window() {
  if (window_) DestroyWindow(window_);
}

int counting_window::count(UINT message) const {
  auto it = counts_.find(message);
  return it == counts_.end() ? 0 : it->second;
}

LRESULT CALLBACK counting_window::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<counting_window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self) ++self->counts_[message];
  if (message == WM_CLOSE) return 0;  // stays open: tests look at the window afterwards
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace tambre::test
