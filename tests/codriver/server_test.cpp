// The server thread with real COM, reached from a client in an apartment of its own.
#include <gtest/gtest.h>

#include <thread>

#include "codriver/codriver_test_support.h"
#include "support/rpc_service.h"
#include "support/win_test_window.h"

namespace {

using tambre::test::apartment;
using tambre::test::text_of;

std::atomic<int> destroyed_drivers{0};
class counted_driver : public CoDriver {
 public:
  ~counted_driver() override { ++destroyed_drivers; }
};

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

// A single-threaded apartment that runs `setup`, serves COM calls until finish(), then runs `teardown`.
class sta_client {
 public:
  sta_client(std::function<void()> setup, std::function<void()> teardown)
      : ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), finish_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, setup, teardown] {
      apartment sta(COINIT_APARTMENTTHREADED);
      setup();
      SetEvent(ready_);
      while (MsgWaitForMultipleObjects(1, &finish_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
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

TEST(Server, ClientInAnotherApartmentReadsTheRunningObjectAndReceivesEvents) {
  ASSERT_TRUE(tambre::test::ensure_rpc_service_running());
  ASSERT_EQ(tambre::test::register_type_library_for_marshalling(), S_OK);
  apartment mta(COINIT_MULTITHREADED);  // the driver's own thread lives in the multithreaded apartment
  tambre::test::low_block names(4096);
  tambre::test::fill_names(names.data(), 3, DRV_SHORT_NAME_SIZE, "Kurz");
  auto* driver = new counted_driver;
  driver->m_projectId = 7;
  driver->m_channelCounts[ctAIn] = 3;
  driver->m_shortNames[ctAIn] = reinterpret_cast<char*>(names.data());
  const DWORD flags = DRV_RUN_FILE_MONIKER | DRV_RUN_TYPE_INFO | DRV_RUN_CHANNEL_COUNTS;
  ASSERT_TRUE(driver->RunObject(flags, nullptr));
  HANDLE first = nullptr;
  ASSERT_TRUE(
      DuplicateHandle(GetCurrentProcess(), driver->m_thread, GetCurrentProcess(), &first, SYNCHRONIZE, FALSE, 0));
  ASSERT_TRUE(driver->RunObject(flags, nullptr));
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0) << "running again stops the first thread";
  CloseHandle(first);

  tambre::test::recording_sink* sink = nullptr;
  IConnectionPoint* point = nullptr;
  IProcessDriver* remote = nullptr;
  sta_client client(
      [&] {
        sink = new tambre::test::recording_sink;
        IClassFactory* factory = nullptr;
        ASSERT_EQ(CoGetClassObject(CLSID_ProcessDriver, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)),
                  S_OK);
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

        IUnknown* active = nullptr;  // IDispatch by name is the script client's, in the demo's test
        ASSERT_EQ(GetActiveObject(CLSID_ProcessDriver, nullptr, &active), S_OK);
        active->Release();
        EXPECT_TRUE(moniker_running(L"tambre32.Driver.SysID7")) << "the module's name and project";

        IConnectionPointContainer* container = nullptr;
        ASSERT_EQ(remote->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
        ASSERT_EQ(container->FindConnectionPoint(IID_IProcessDriverEvent, &point), S_OK);
        container->Release();
        DWORD cookie = 0;
        EXPECT_EQ(point->Advise(static_cast<IProcessDriverEvent*>(sink), &cookie), S_OK);
      },
      [&] {
        if (point) point->Release();
        if (remote) remote->Release();
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
  EXPECT_EQ(destroyed_drivers, 1);
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
  EXPECT_EQ(window.count(WM_CLOSE) + window.count(WM_SYSCOMMAND) + window.count(WM_USER + 5), 0);
  EXPECT_EQ(DrvDispatch(nullptr), 1);
  EXPECT_EQ(window.count(WM_USER + 5), 1);
  EXPECT_EQ(DrvDispatch(nullptr), 0);
}

}  // namespace
