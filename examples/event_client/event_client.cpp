// A client of a running driver, in a process of its own: it finds the driver object by
// its ProgID, subscribes to the driver's events and prints each event as one line, until
// the driver terminates (or a minute passes):
//
//   subscribed <cookie>
//   TransactionCompleted <driver name> <tid> <success> <extra>
//   Terminate
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <cstdarg>
#include <cstdio>

#include "tambre32/codriver.h"

namespace {

void print_line(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  std::fflush(stdout);
}

// The event interface is a custom one: COM marshals its calls from the driver's process
// through the type library, which must be registered on this machine. The driver's own
// registration names the file; registering it here adds the interface entries.
bool register_event_interface() {
  // The driver's registration writes the "win32" entry on every platform.
  const char key[] = "TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}\\1.0\\0\\win32";
  char path[MAX_PATH] = "";
  LONG size = sizeof path;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key, path, &size) != ERROR_SUCCESS) return false;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(wide, REGKIND_REGISTER, &library))) return false;
  library->Release();
  return true;
}

class printing_sink final : public IProcessDriverEvent {
 public:
  HANDLE terminated = CreateEventA(nullptr, TRUE, FALSE, nullptr);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IProcessDriverEvent) return E_NOINTERFACE;
    *out = static_cast<IProcessDriverEvent*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the program
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE Terminate(IDispatch*) override {
    print_line("Terminate");
    SetEvent(terminated);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE TransactionCompleted(IDispatch* server, long tid, VARIANT_BOOL success,
                                                 long extra) override {
    // The server argument is the driver itself: ask it for its name.
    char name[64] = "?";
    IProcessDriver* driver = nullptr;
    if (server && SUCCEEDED(server->QueryInterface(IID_IProcessDriver, reinterpret_cast<void**>(&driver)))) {
      BSTR text = nullptr;
      if (SUCCEEDED(driver->GetName(&text)) && text) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, name, sizeof name, nullptr, nullptr);
        SysFreeString(text);
      }
      driver->Release();
    }
    print_line("TransactionCompleted %s %ld %d %ld", name, tid, static_cast<int>(success), extra);
    return S_OK;
  }
};

// Waits for the event while serving the calls that arrive as window messages.
bool wait_serving_calls(HANDLE event, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const DWORD wait = MsgWaitForMultipleObjects(1, &event, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) return true;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
}

int run_client() {
  if (!register_event_interface()) {
    print_line("no type library registered");
    return 1;
  }
  CLSID id;
  if (FAILED(CLSIDFromProgID(L"ProcessDriver.Server", &id))) {
    print_line("no ProgID");
    return 1;
  }
  IConnectionPointContainer* container = nullptr;
  HRESULT result = CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IConnectionPointContainer,
                                    reinterpret_cast<void**>(&container));
  if (FAILED(result)) {
    print_line("no driver (0x%08lX)", static_cast<unsigned long>(result));
    return 1;
  }
  IConnectionPoint* point = nullptr;
  result = container->FindConnectionPoint(IID_IProcessDriverEvent, &point);
  container->Release();
  if (FAILED(result)) {
    print_line("no connection point (0x%08lX)", static_cast<unsigned long>(result));
    return 1;
  }
  printing_sink sink;
  DWORD cookie = 0;
  result = point->Advise(static_cast<IProcessDriverEvent*>(&sink), &cookie);
  if (FAILED(result)) {
    point->Release();
    print_line("advise failed (0x%08lX)", static_cast<unsigned long>(result));
    return 1;
  }
  print_line("subscribed %lu", cookie);
  const bool ended = wait_serving_calls(sink.terminated, 60000);
  // After Terminate the driver has dropped its connections; the point is released only.
  if (!ended) point->Unadvise(cookie);
  point->Release();
  CloseHandle(sink.terminated);
  return ended ? 0 : 2;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int status = run_client();
  CoUninitialize();
  return status;
}
