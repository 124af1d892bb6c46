// Creating, starting and stopping a system service through the service control manager.
#include <windows.h>

#include <cstdio>

#include "sys/handles.h"
#include "tambre32/io.h"
#include "tambre32/strutil.h"

namespace {

// The display-name buffer a caller passes holds at least this many characters.
constexpr DWORD kDisplayNameSize = 80;
constexpr DWORD kPollInterval = 100;
constexpr DWORD kPollLimit = 20000;

// Owns a handle of the service control manager or of a service.
using service_handle =
    tambre::sys::unique_resource<tambre::sys::detail::null_is_invalid<SC_HANDLE, CloseServiceHandle>>;

bool is_pending(DWORD state) {
  return state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING || state == SERVICE_CONTINUE_PENDING ||
         state == SERVICE_PAUSE_PENDING;
}

BOOL create_kernel_service(SC_HANDLE manager, const char* name) {
  char image[MAX_PATH + 64];
  UINT n = GetSystemDirectoryA(image, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return FALSE;
  std::snprintf(image + n, sizeof image - n, "\\drivers\\%s.sys", name);
  service_handle created(CreateServiceA(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                        SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, image, nullptr, nullptr, nullptr,
                                        nullptr, nullptr));
  return created || GetLastError() == ERROR_SERVICE_EXISTS;
}

// Waits while the service is in one of the pending states; 1 once it settles.
BOOL wait_until_settled(SC_HANDLE service) {
  const DWORD start = GetTickCount();
  for (;;) {
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service, &status)) return FALSE;
    if (!is_pending(status.dwCurrentState)) return TRUE;
    if (GetTickCount() - start > kPollLimit) return FALSE;
    Sleep(kPollInterval);
  }
}

// Starts or stops `name` and waits for it to settle. `request_error` receives the error
// of the start or stop request, 0 when none was sent or it succeeded.
BOOL start_or_stop(SC_HANDLE manager, const char* name, int operation, DWORD& request_error) {
  service_handle service(OpenServiceA(manager, name, GENERIC_READ | GENERIC_EXECUTE));
  if (!service) return FALSE;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return FALSE;
  BOOL sent = FALSE;
  switch (operation) {
    case TAMBRE_SERVICE_START:
      if (status.dwCurrentState == SERVICE_START_PENDING || status.dwCurrentState == SERVICE_RUNNING) return TRUE;
      sent = StartServiceA(service.get(), 0, nullptr);
      break;
    case TAMBRE_SERVICE_STOP:
      if (status.dwCurrentState == SERVICE_STOPPED || status.dwCurrentState == SERVICE_STOP_PENDING) return TRUE;
      sent = ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
      break;
    default:
      return FALSE;  // only the display name was asked for
  }
  if (!sent) {
    request_error = GetLastError();
    return FALSE;
  }
  return wait_until_settled(service.get());
}

}  // namespace

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) ControlNTService(const char* name, int operation, char* display_name) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (display_name != nullptr) strxcpy(display_name, name, kDisplayNameSize);
  const bool create = operation == TAMBRE_SERVICE_CREATE;
  DWORD request_error = 0;
  BOOL result = FALSE;
  {
    service_handle manager(OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA,
                                          GENERIC_READ | GENERIC_EXECUTE | (create ? SC_MANAGER_CREATE_SERVICE : 0)));
    if (!manager) return FALSE;
    if (create) return create_kernel_service(manager.get(), name);
    if (display_name != nullptr) {
      // An unknown service keeps the name as its display name.
      char found[kDisplayNameSize];
      DWORD size = kDisplayNameSize;
      if (GetServiceDisplayNameA(manager.get(), name, found, &size)) strxcpy(display_name, found, kDisplayNameSize);
    }
    result = start_or_stop(manager.get(), name, operation, request_error);
  }
  // Closing the handles must not hide why the start or stop request failed.
  if (request_error != 0) SetLastError(request_error);
  return result;
}
