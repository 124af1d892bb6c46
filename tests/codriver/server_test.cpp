// The server thread with real COM: a client in an apartment of its own reaches the object
// through the class object, the active object and the running object table.
#include <gtest/gtest.h>

#include <thread>

#include "codriver/codriver_test_support.h"
#include "support/rpc_service.h"
#include "support/win_test_window.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::apartment;
using tambre::test::counted_driver;
using tambre::test::destroyed_drivers;
using tambre::test::low_block;
using tambre::test::recording_sink;
using tambre::test::text_of;

bool moniker_running(const wchar_t* name) {
  IRunningObjectTable* table = nullptr;
  IMoniker* moniker = nullptr;
  bool running = false;
  if (SUCCEEDED(GetRunningObjectTable(0, &table)) && SUCCEEDED(CreateFileMoniker(name, &moniker))) {
    running = table->IsRunning(moniker) == S_OK;
  }
  if (moniker) moniker->Release();
  if (table) table->Release();
  return running;
}

HRESULT get_property(IDispatch* object, const wchar_t* name, VARIANT* result) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = 0;
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS params = {};
  VariantInit(result);
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, result, nullptr, nullptr);
}

// A thread in a single-threaded apartment that runs `setup`, then serves COM calls (its
// sinks receive events) until finish() and runs `teardown`.
class sta_client {
 public:
  sta_client(std::function<void()> setup, std::function<void()> teardown)
      : ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), finish_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, setup, teardown] {
      apartment sta(COINIT_APARTMENTTHREADED);
      setup();
      SetEvent(ready_);
      for (;;) {
        const DWORD wait = MsgWaitForMultipleObjects(1, &finish_, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      }
      teardown();
    });
    WaitForSingleObject(ready_, INFINITE);
  }
  void finish() {
    SetEvent(finish_);
    if (thread_.joinable()) thread_.join();
  }
  ~sta_client() {
    finish();
    CloseHandle(ready_);
    CloseHandle(finish_);
  }

 private:
  HANDLE ready_, finish_;
  std::thread thread_;
};

class Server : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tambre::test::ensure_rpc_service_running());
    ASSERT_EQ(tambre::test::register_type_library_for_marshalling(), S_OK);
    tambre::test::fill_names(names_.data(), 3, DRV_SHORT_NAME_SIZE, "Kurz");
  }
  // The driver's own thread lives in the multithreaded apartment.
  apartment mta_{COINIT_MULTITHREADED};
  low_block names_{4096};
};

TEST_F(Server, ClientInAnotherApartmentReadsTheRunningObjectAndReceivesEvents) {
  auto* driver = new counted_driver;
  driver->m_projectId = 7;
  driver->m_channelCounts[ctAIn] = 3;
  driver->m_shortNames[ctAIn] = reinterpret_cast<char*>(names_.data());
  const int destroyed_before = destroyed_drivers;
  ASSERT_TRUE(driver->RunObject(DRV_RUN_FILE_MONIKER | DRV_RUN_TYPE_INFO | DRV_RUN_CHANNEL_COUNTS, nullptr));

  recording_sink* sink = nullptr;
  IConnectionPoint* point = nullptr;
  DWORD cookie = 0;
  std::vector<IUnknown*> held;
  sta_client client(
      [&] {
        sink = new recording_sink;
        IClassFactory* factory = nullptr;
        ASSERT_EQ(CoGetClassObject(CLSID_ProcessDriver, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)),
                  S_OK);
        IProcessDriver* remote = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IProcessDriver, reinterpret_cast<void**>(&remote)), S_OK);
        factory->Release();
        ASSERT_NE(remote, nullptr);

        BSTR name = nullptr;
        EXPECT_EQ(remote->GetName(&name), S_OK);
        EXPECT_EQ(text_of(name), "ProcessDriver.Server");
        long value = 0;
        EXPECT_EQ(remote->GetProjectID(&value), S_OK);
        EXPECT_EQ(value, 7);
        ChannelMapCollection* maps = nullptr;
        ASSERT_EQ(remote->GetChannelMaps(ctAIn, &maps), S_OK);
        ChannelMap* map = nullptr;
        ASSERT_EQ(maps->GetItem(2, &map), S_OK);
        EXPECT_EQ(map->GetName(&name), S_OK);
        EXPECT_EQ(text_of(name), "Kurz2");
        map->Release();
        maps->Release();

        // Through the active object and IDispatch, by name.
        IUnknown* active = nullptr;
        ASSERT_EQ(GetActiveObject(CLSID_ProcessDriver, nullptr, &active), S_OK);
        IDispatch* dispatch = nullptr;
        ASSERT_EQ(active->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
        active->Release();
        VARIANT result;
        EXPECT_EQ(get_property(dispatch, L"Name", &result), S_OK);
        EXPECT_EQ(V_VT(&result), VT_BSTR);
        EXPECT_EQ(text_of(V_BSTR(&result)), "ProcessDriver.Server");
        dispatch->Release();

        // The running object table knows the driver module's name and project.
        EXPECT_TRUE(moniker_running(L"tambre32.Driver.SysID7"));

        IConnectionPointContainer* container = nullptr;
        ASSERT_EQ(remote->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
        ASSERT_EQ(container->FindConnectionPoint(IID_IProcessDriverEvent, &point), S_OK);
        container->Release();
        EXPECT_EQ(point->Advise(static_cast<IProcessDriverEvent*>(sink), &cookie), S_OK);
        held.push_back(remote);
      },
      [&] {
        if (point) point->Release();
        for (auto* object : held) object->Release();
      });

  // The driver's thread reports a transaction; the sink receives it in its apartment.
  EXPECT_EQ(driver->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, 42, 0x00070001), CoDriver::NotifyDone);
  ASSERT_EQ(sink->transactions.size(), 1u);
  EXPECT_EQ(sink->transactions[0].tid, 42);
  EXPECT_EQ(sink->transactions[0].success, VARIANT_TRUE);
  EXPECT_EQ(sink->transactions[0].extra, 7);

  // Stopping sends Terminate and takes the object off COM.
  EXPECT_TRUE(driver->StopObject(0));
  EXPECT_EQ(sink->terminates, 1);
  EXPECT_EQ(driver->m_thread, nullptr);
  EXPECT_EQ(driver->m_stopEvent, nullptr);
  client.finish();

  IUnknown* active = nullptr;
  EXPECT_NE(GetActiveObject(CLSID_ProcessDriver, nullptr, &active), S_OK);
  EXPECT_FALSE(moniker_running(L"tambre32.Driver.SysID7"));
  driver->m_shortNames[ctAIn] = nullptr;
  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);
  EXPECT_EQ(destroyed_drivers, destroyed_before + 1);
}

TEST_F(Server, AHundredRunsLeaveNoHandle) {
  auto* driver = new counted_driver;
  const int destroyed_before = destroyed_drivers;
  ASSERT_TRUE(driver->RunObject(DRV_RUN_TYPE_INFO, nullptr));  // COM's own threads start here
  HANDLE first = nullptr;
  ASSERT_TRUE(
      DuplicateHandle(GetCurrentProcess(), driver->m_thread, GetCurrentProcess(), &first, SYNCHRONIZE, FALSE, 0));
  ASSERT_TRUE(driver->RunObject(DRV_RUN_TYPE_INFO, nullptr));  // running again stops the first thread
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
  CloseHandle(first);
  ASSERT_TRUE(driver->StopObject(0));
  DWORD handles_before = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles_before);
  for (int run = 0; run < 100; ++run) {
    ASSERT_TRUE(driver->RunObject(DRV_RUN_TYPE_INFO, nullptr)) << run;
    ASSERT_TRUE(driver->StopObject(0)) << run;
  }
  DWORD handles_after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles_after);
  EXPECT_LE(handles_after, handles_before + 2);
  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);
  EXPECT_EQ(destroyed_drivers, destroyed_before + 1);
}

TEST(DrvDispatch, OneMessageAtATimeAndCloseRequestsOnlyBeep) {
  tambre::test::counting_window window;
  MSG drain;
  while (PeekMessageA(&drain, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&drain);
  EXPECT_EQ(DrvDispatch(nullptr), 0);
  PostMessageA(window.handle(), WM_CLOSE, 0, 0);
  PostMessageA(window.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(window.handle(), WM_USER + 5, 0, 0);
  EXPECT_EQ(DrvDispatch(window.handle()), 1);
  EXPECT_EQ(DrvDispatch(window.handle()), 1);
  EXPECT_EQ(window.count(WM_CLOSE) + window.count(WM_SYSCOMMAND), 0);
  EXPECT_EQ(window.count(WM_USER + 5), 0);  // one message per call
  EXPECT_EQ(DrvDispatch(nullptr), 1);
  EXPECT_EQ(window.count(WM_USER + 5), 1);
  EXPECT_EQ(DrvDispatch(nullptr), 0);
}

}  // namespace
