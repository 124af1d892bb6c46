// The host's main window and its service message.
#include <atomic>
#include <cstdint>

#include "frame/host_services.h"
#include "tambre32/hostwindow.h"
#include "tambre32/strutil.h"

namespace tambre::frame {

namespace {

constexpr char kHostClassPrefix[] = "RPMODLESS";

// Written by whichever thread asks first; both threads write the same answers.
std::atomic<std::uintptr_t> directory_service{0};
std::atomic<std::uintptr_t> second_service{0};

LRESULT ask_host(HWND host, WPARAM selector) { return SendMessageA(host, TAMBRE_HOST_MESSAGE, selector, 0); }

BOOL CALLBACK match_host_window(HWND window, LPARAM found) {
  // Enumerated windows have no parent; an owned one is some other window of the host.
  if (GetWindow(window, GW_OWNER) != nullptr) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  char class_name[64] = "";
  if (GetClassNameA(window, class_name, sizeof class_name) == 0) return TRUE;
  if (!strniequal(class_name, kHostClassPrefix)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

HWND find_host_window() {
  HWND found = nullptr;
  EnumWindows(match_host_window, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool host_services_available() {
  if (directory_service.load() != 0 && second_service.load() != 0) return true;
  HWND host = find_host_window();
  if (host == nullptr) return false;
  const auto directory = static_cast<std::uintptr_t>(ask_host(host, TAMBRE_HOST_ASK_DIRECTORY_SERVICE));
  const auto second = static_cast<std::uintptr_t>(ask_host(host, TAMBRE_HOST_ASK_SECOND_SERVICE));
  directory_service.store(directory);
  second_service.store(second);
  return directory != 0 && second != 0;
}

bool query_host_directory(DWORD argument, char (&directory)[host_directory_size]) {
  directory[0] = '\0';
  if (!host_services_available()) return false;
  auto service = reinterpret_cast<TambreHostDirectoryProc>(directory_service.load());
  const BOOL answered = service(host_directory_code, argument, host_directory_size, directory);
  // The host's answer is cut to the buffer whatever it wrote.
  directory[host_directory_size - 1] = '\0';
  if (!answered || directory[0] == '\0') {
    directory[0] = '\0';
    return false;
  }
  return true;
}

}  // namespace tambre::frame

TAMBRE_EXPORT(HWND, TAMBRE_STDCALL) FindOwner(void) { return tambre::frame::find_host_window(); }

TAMBRE_EXPORT(WORD, TAMBRE_STDCALL) GetTaskVersion(DWORD* version2) {
  HWND host = tambre::frame::find_host_window();
  DWORD second = 0;
  WORD version = 0;
  if (host != nullptr) {
    version = static_cast<WORD>(tambre::frame::ask_host(host, TAMBRE_HOST_ASK_VERSION));
    second = static_cast<DWORD>(tambre::frame::ask_host(host, TAMBRE_HOST_ASK_VERSION2));
  }
  if (version2 != nullptr) *version2 = second;
  return version;
}
