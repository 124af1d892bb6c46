#include "host_window.h"

#include <cstring>

namespace {

constexpr char kClassName[] = "RPMODLESSHostSim";
constexpr WORD kHostVersion = 0x0500;         // 5.0
constexpr DWORD kSecondVersion = 0x00050001;  // 5.0.1
constexpr int kDirectoryCode = 45;

const char* project = "";

// code, argument, buffer size, buffer; non-zero when the buffer was filled.
int WINAPI directory_service(int code, int /*argument*/, int size, char* buffer) {
  if (code != kDirectoryCode || size < 1 || buffer == nullptr) return 0;
  lstrcpynA(buffer, project, size);
  return buffer[0] != '\0';
}

// A service the simulator offers without a use of its own.
int WINAPI second_service(int, int, int, char*) { return 0; }

LRESULT CALLBACK host_window_procedure(HWND window, UINT message, WPARAM word, LPARAM value) {
  if (message != kHostMessage) return DefWindowProcA(window, message, word, value);
  switch (word) {
    case 0:
      return kHostVersion;
    case 1:
      return kSecondVersion;
    case 2:
      return reinterpret_cast<LRESULT>(&directory_service);
    case 3:
      return reinterpret_cast<LRESULT>(&second_service);
    default:
      return 0;
  }
}

}  // namespace

HWND create_host_window(const char* project_directory) {
  project = project_directory;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = host_window_procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class)) return nullptr;
  return CreateWindowExA(0, kClassName, "Host-Simulator", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 200,
                         nullptr, nullptr, window_class.hInstance, nullptr);
}
