#pragma once
// A hidden owner of modal dialogs under test: on each WM_ENTERIDLE of the dialog's modal loop,
// `step` works the dialog on the dialog's own thread.
#include <windows.h>

#include <functional>
#include <utility>

namespace redundancy_test {

class idle_owner {
 public:
  explicit idle_owner(std::function<void(HWND)> step) : step_(std::move(step)) {
    WNDCLASSA kind{};
    kind.lpfnWndProc = procedure;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = "TambreTestIdleOwner";
    RegisterClassA(&kind);  // a second registration fails harmlessly
    window_ = CreateWindowA(kind.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, kind.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~idle_owner() { DestroyWindow(window_); }
  idle_owner(const idle_owner&) = delete;
  idle_owner& operator=(const idle_owner&) = delete;
  HWND handle() const { return window_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<idle_owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_ENTERIDLE && wparam == MSGF_DIALOGBOX && self) self->step_(reinterpret_cast<HWND>(lparam));
    return DefWindowProcA(window, message, wparam, lparam);
  }
  std::function<void(HWND)> step_;
  HWND window_;
};

}  // namespace redundancy_test
