// The server thread that publishes a driver object to COM: class object, active object
// and running-object-table name, with a message loop until the stop event.
#include <cstdio>
#include <cstring>
#include <new>
#include "base/paths.h"

#include "codriver/class_factory.h"
#include "codriver/server_registration.h"
#include "sys/com_ptr.h"
#include "sys/message_pump.h"
#include "tambre32/automation.h"
#include "tambre32/codriver.h"
#include "tambre32/waits.h"

namespace {

constexpr SIZE_T kServerStackSize = 4096;
constexpr int kDefaultStopTimeout = 8000;
constexpr LONG kStarting = 1, kRunning = 2, kStopped = 3;

DWORD WINAPI server_thread_entry(void* driver) {
  static_cast<CoDriver*>(driver)->_RunInternal();
  return 0;
}

// "MODBUS.Driver.SysID3" for MODBUS.DRV with project 3.
void moniker_name(HINSTANCE instance, int project_id, char (&out)[128]) {
  char path[MAX_PATH + 1] = "";
  GetModuleFileNameA(instance, path, MAX_PATH);
  char name[73];
  snprintf(name, sizeof name, "%s", tambre::base::file_part(path));
  if (char* dot = strchr(name, '.')) *dot = 0;
  snprintf(out, sizeof out, "%s.Driver.SysID%i", name, project_id);
}

}  // namespace

BOOL CoDriver::RunObject(int flags, void*) {
  StopObject(0);
  m_runFlags = static_cast<DWORD>(flags);
  m_runState = 0;
  m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!m_stopEvent) return FALSE;
  DWORD id = 0;
  // Started suspended: the handle must be stored before the thread can clear it as its
  // last act, or a thread that fails at once would leave a closed handle behind.
  HANDLE thread = CreateThread(nullptr, kServerStackSize, server_thread_entry, this, CREATE_SUSPENDED, &id);
  if (!thread) return FALSE;
  m_thread = thread;
  ResumeThread(thread);
  // The run state is looked at every 10 ms; a thread that ends meanwhile ends the wait.
  while (m_runState < kRunning && WaitForSingleObject(thread, 10) == WAIT_TIMEOUT) {
  }
  if (m_runState != kRunning) {
    // Start-up failed and the thread is on its way out, clearing the handle it owned.
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    m_thread = nullptr;
    return FALSE;
  }
  return m_thread && m_stopEvent && m_runState == kRunning;
}

BOOL CoDriver::StopObject(int timeout) {
  BOOL result = TRUE;
  if (m_stopEvent) SetEvent(m_stopEvent);
  // The thread clears m_thread as its last act; the handle itself is closed here.
  if (HANDLE thread = m_thread) {
    WaitEvent(thread, timeout ? static_cast<DWORD>(timeout) : kDefaultStopTimeout);
    if (m_thread) {
      TerminateThread(thread, static_cast<DWORD>(-1));
      m_thread = nullptr;
      result = FALSE;
    }
    CloseHandle(thread);
  }
  if (m_stopEvent) {
    CloseHandle(m_stopEvent);
    m_stopEvent = nullptr;
  }
  return result;
}

void CoDriver::_RunInternal() {
  m_runState = kStarting;
  m_classCookie = 0;
  m_activeCookie = 0;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_SPEED_OVER_MEMORY);

  if (m_runFlags & DRV_RUN_REGISTER) tambre::codriver::register_server_when_asked(*this);
  if (m_runFlags & DRV_RUN_TYPE_INFO) LoadTypeInfo();

  void* running = nullptr;
  QueryInterface(m_interfaceId, &running);
  m_running = static_cast<IProcessDriver*>(running);
  if (m_running) CoLockObjectExternal(m_running, TRUE, TRUE);

  auto* factory = new (std::nothrow) tambre::codriver::driver_class_factory(m_interfaceId, m_running);
  if (factory) {
    factory->AddRef();
    CoRegisterClassObject(m_classId, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &m_classCookie);
    factory->Release();  // the registration holds it now
    RegisterActiveObject(m_running, m_classId, ACTIVEOBJECT_WEAK, &m_activeCookie);
    if (m_runFlags & DRV_RUN_FILE_MONIKER) {
      char name[128];
      moniker_name(m_instance, m_projectId, name);
      RegisterFileMoniker(name, m_running, &m_rotCookie, &m_fileMoniker);
    }
    CoImpersonateClient();
    m_runState = kRunning;

    for (;;) {
      const DWORD wait = MsgWaitForMultipleObjects(1, &m_stopEvent, FALSE, 10000, QS_ALLINPUT);
      if (wait == WAIT_OBJECT_0) break;
      if (wait == WAIT_OBJECT_0 + 1) tambre::sys::pump_messages();
      if (wait == WAIT_FAILED) break;  // the stop event is gone: nothing can end the loop any more
    }
  }

  m_runState = kStopped;
  NotifySinks(EID_TERMINATE, nullptr, 0, 0);

  if (m_activeCookie) {
    RevokeActiveObject(m_activeCookie, nullptr);
    m_activeCookie = 0;
  }
  if (m_classCookie) {
    CoRevokeClassObject(m_classCookie);
    m_classCookie = 0;
  }
  // The name stays registered under m_rotCookie until the moniker's last reference goes;
  // revoking it keeps the table clean for the next run.
  if (m_rotCookie) {
    tambre::sys::com_ptr<IRunningObjectTable> table;
    if (SUCCEEDED(GetRunningObjectTable(0, table.put()))) table->Revoke(m_rotCookie);
    m_rotCookie = 0;
  }
  if (m_fileMoniker) {
    m_fileMoniker->Release();
    m_fileMoniker = nullptr;
  }
  if (m_running) {
    CoDisconnectObject(m_running, 0);
    CoRevertToSelf();
    CoLockObjectExternal(m_running, FALSE, TRUE);
  }
  UnloadTypeInfo();
  m_running = nullptr;
  if (SUCCEEDED(com)) CoUninitialize();
  m_thread = nullptr;
}
