// A client of a running driver, in a process of its own: it finds the driver object by its
// ProgID alone (the driver's registration is all it needs), subscribes to the driver's
// events and prints each event as one line, until the driver terminates:
//
//   subscribed <cookie>
//   TransactionCompleted <driver name> <tid> <success> <extra> [at <seconds since 1970>]
//   Terminate
//
// With the argument --times each event line ends with the moment it arrived.
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "../modbus_driver/unix_seconds.h"
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

bool print_times = false;
constexpr DWORD kLongestWait = 24 * 3600 * 1000;  // ms; a host that never ends is stopped from outside

class printing_sink final : public IProcessDriverEvent {
  char name[64] = "";

  void ask_name(IDispatch* server) {
    lstrcpynA(name, "?", sizeof name);
    IProcessDriver* driver = nullptr;
    if (server && SUCCEEDED(server->QueryInterface(IID_IProcessDriver, reinterpret_cast<void**>(&driver)))) {
      BSTR text = nullptr;
      if (SUCCEEDED(driver->GetName(&text)) && text) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, name, sizeof name, nullptr, nullptr);
        SysFreeString(text);
      }
      driver->Release();
    }
  }

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
    const double arrived = unix_seconds_now();
    // The server argument is the driver itself: its name is asked once, since every call
    // back into the driver's process lengthens the driver's notification.
    if (name[0] == '\0') ask_name(server);
    if (print_times) {
      print_line("TransactionCompleted %s %ld %d %ld at %.4f", name, tid, static_cast<int>(success), extra, arrived);
    } else {
      print_line("TransactionCompleted %s %ld %d %ld", name, tid, static_cast<int>(success), extra);
    }
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
  const bool ended = wait_serving_calls(sink.terminated, kLongestWait);
  // After Terminate the driver has dropped its connections; the point is released only.
  if (!ended) point->Unadvise(cookie);
  point->Release();
  CloseHandle(sink.terminated);
  return ended ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  print_times = argc > 1 && std::strcmp(argv[1], "--times") == 0;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int status = run_client();
  CoUninitialize();
  return status;
}
