#include "support/host_window_stand_in.h"

#include <cstring>

namespace tambre::test {

namespace {

constexpr UINT kHostMessage = WM_USER + 104;

struct directory_answer {
  std::string directory;
  bool answered = true;
  DWORD code = 0, argument = 0;
  int calls = 0;
} service_state;

// The host's call form: four 32-bit arguments, standard calling convention.
BOOL __stdcall directory_service(DWORD code, DWORD argument, DWORD size, char* buffer) {
  ++service_state.calls;
  service_state.code = code;
  service_state.argument = argument;
  if (!service_state.answered || size == 0) return FALSE;
  std::strncpy(buffer, service_state.directory.c_str(), size - 1);
  buffer[size - 1] = '\0';
  return TRUE;
}

BOOL __stdcall second_service() { return TRUE; }

}  // namespace

host_window_stand_in::host_window_stand_in(const char* class_name, answers given, HWND owner)
    : class_name_(class_name), answers_(given) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = class_name_.c_str();
  RegisterClassA(&window_class);  // fails harmlessly when already registered
  window_ = CreateWindowExA(0, class_name_.c_str(), "Host", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, owner, nullptr,
                            GetModuleHandleA(nullptr), this);
}

host_window_stand_in::~host_window_stand_in() {
  if (window_) DestroyWindow(window_);
}

void host_window_stand_in::set_directory(const std::string& directory, bool answered) {
  service_state.directory = directory;
  service_state.answered = answered;
}
DWORD host_window_stand_in::last_code() { return service_state.code; }
DWORD host_window_stand_in::last_argument() { return service_state.argument; }
int host_window_stand_in::service_calls() { return service_state.calls; }

LRESULT CALLBACK host_window_stand_in::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<host_window_stand_in*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message != kHostMessage || self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  ++self->asked_;
  switch (wparam) {
    case 0:
      return self->answers_.version;
    case 1:
      return self->answers_.version2;
    case 2:
      return self->answers_.directory_service ? reinterpret_cast<LRESULT>(&directory_service) : 0;
    case 3:
      return self->answers_.second_service ? reinterpret_cast<LRESULT>(&second_service) : 0;
    default:
      return 0;
  }
}

}  // namespace tambre::test
