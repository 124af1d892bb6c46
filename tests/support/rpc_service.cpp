#include "support/rpc_service.h"

#include <windows.h>

namespace tambre::test {

bool ensure_rpc_service_running() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return false;
  SC_HANDLE service = OpenServiceA(manager, "RpcSs", SERVICE_START | SERVICE_QUERY_STATUS);
  bool running = false;
  if (service) {
    // Right after boot the service database stays locked for a while: keep asking.
    const ULONGLONG deadline = GetTickCount64() + 60000;
    SERVICE_STATUS status = {};
    while (!running && GetTickCount64() < deadline) {
      if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED) {
        StartServiceA(service, 0, nullptr);
      }
      running = QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
      if (!running) Sleep(100);
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return running;
}

}  // namespace tambre::test
