// The connection point of a driver object, called directly in one apartment.
#include <gtest/gtest.h>

#include <olectl.h>

#include <set>

#include "codriver/codriver_test_support.h"

namespace {

using tambre::test::recording_sink;

class ConnectionPoints : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_ = new CoDriver;
    driver_->AddRef();
    ASSERT_EQ(driver_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container_)), S_OK);
    ASSERT_EQ(container_->FindConnectionPoint(IID_IProcessDriverEvent, &point_), S_OK);
  }
  void TearDown() override {
    point_->Release();
    container_->Release();
    CoDriver::Destroy(driver_);
  }
  DWORD advise(recording_sink& sink) {
    DWORD cookie = 0;
    EXPECT_EQ(point_->Advise(static_cast<IProcessDriverEvent*>(&sink), &cookie), S_OK);
    return cookie;
  }
  // The cookies the connection enumerator lists.
  std::multiset<DWORD> connections() {
    IEnumConnections* list = nullptr;
    point_->EnumConnections(&list);
    CONNECTDATA data[20];
    ULONG fetched = 0;
    list->Reset();
    list->Next(20, data, &fetched);
    std::multiset<DWORD> cookies;
    for (ULONG i = 0; i < fetched; ++i) {
      cookies.insert(data[i].dwCookie);
      data[i].pUnk->Release();
    }
    list->Release();
    return cookies;
  }
  CoDriver* driver_ = nullptr;
  IConnectionPointContainer* container_ = nullptr;
  IConnectionPoint* point_ = nullptr;
};

TEST_F(ConnectionPoints, FindSubscribeListAndUnsubscribe) {
  IConnectionPoint* other = reinterpret_cast<IConnectionPoint*>(1);
  EXPECT_EQ(container_->FindConnectionPoint(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  IConnectionPointContainer* back = nullptr;
  EXPECT_EQ(point_->GetConnectionPointContainer(&back), S_OK);
  EXPECT_EQ(back, container_);
  back->Release();
  IEnumConnectionPoints* points = nullptr;
  ASSERT_EQ(container_->EnumConnectionPoints(&points), S_OK);
  points->Reset();
  IConnectionPoint* fetched[2] = {};
  ULONG count = 0;
  EXPECT_EQ(points->Next(2, fetched, &count), S_FALSE);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(fetched[0], point_);
  fetched[0]->Release();
  points->Release();

  recording_sink sinks[17];
  DWORD cookies[16];
  for (int i = 0; i < 16; ++i) cookies[i] = advise(sinks[i]);
  EXPECT_EQ(std::set<DWORD>(cookies, cookies + 16).size(), 16u);
  EXPECT_EQ(sinks[0].references, 2);  // the subscription holds one reference
  DWORD cookie = 99;
  EXPECT_EQ(point_->Advise(static_cast<IProcessDriverEvent*>(&sinks[16]), &cookie), CONNECT_E_ADVISELIMIT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(connections(), std::multiset<DWORD>(cookies, cookies + 16));
  EXPECT_EQ(point_->Unadvise(0), E_INVALIDARG);
  EXPECT_EQ(point_->Unadvise(cookies[0]), S_OK);
  EXPECT_EQ(point_->Unadvise(cookies[0]), E_INVALIDARG);
  EXPECT_EQ(sinks[0].references, 1);
  driver_->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, 1, 1);
  EXPECT_EQ(sinks[0].transactions.size(), 0u);
  EXPECT_EQ(sinks[1].transactions.size(), 1u);
  for (int i = 1; i < 16; ++i) EXPECT_EQ(point_->Unadvise(cookies[i]), S_OK);
  EXPECT_TRUE(connections().empty());
}

// Offers IDispatch but not the event interface.
struct DispatchOnlySink : IDispatch {
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = (iid == IID_IUnknown || iid == IID_IDispatch) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

TEST_F(ConnectionPoints, OnlyEventSinksAndTransactionArguments) {
  DispatchOnlySink dispatch_only;
  DWORD cookie = 99;
  EXPECT_EQ(point_->Advise(&dispatch_only, &cookie), E_NOINTERFACE);
  EXPECT_EQ(cookie, 0u);
  struct Row {
    WPARAM word;
    LPARAM value;
    VARIANT_BOOL success;
    long extra;
  };
  const Row rows[] = {{42, 0x00070001, VARIANT_TRUE, 7},
                      {5, 0x00000100, VARIANT_TRUE, 0},  // any low bit is success
                      {9, static_cast<LPARAM>(0xFFFF0000u), VARIANT_FALSE, 0xFFFF}};
  recording_sink failing, sink;
  failing.failure = E_FAIL;  // does not stop the walk
  const DWORD cookies[] = {advise(failing), advise(sink)};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    sink.transactions.clear();
    EXPECT_EQ(driver_->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, row.word, row.value), CoDriver::NotifyDone);
    ASSERT_EQ(sink.transactions.size(), 1u);
    EXPECT_EQ(sink.transactions[0].tid, static_cast<long>(row.word));
    EXPECT_EQ(sink.transactions[0].success, row.success);
    EXPECT_EQ(sink.transactions[0].extra, row.extra);
  }
  driver_->NotifySinks(static_cast<EventID>(7), nullptr, 1, 1);  // no such event: no call
  EXPECT_EQ(sink.transactions.size(), 1u);
  for (DWORD c : cookies) point_->Unadvise(c);
}

TEST_F(ConnectionPoints, SinksMayUnsubscribeInsideTerminate) {
  recording_sink sinks[3];
  DWORD cookies[3];
  for (int i = 0; i < 3; ++i) cookies[i] = advise(sinks[i]);
  sinks[0].on_terminate = [&] { EXPECT_EQ(point_->Unadvise(cookies[0]), S_OK); };
  sinks[1].on_terminate = [&] { EXPECT_EQ(point_->Unadvise(cookies[1]), S_OK); };
  driver_->NotifySinks(EID_TERMINATE, nullptr, 0, 0);
  for (auto& sink : sinks) EXPECT_EQ(sink.terminates, 1);
  EXPECT_EQ(connections(), (std::multiset<DWORD>{cookies[2]}));
  EXPECT_EQ(sinks[1].references, 1);
  point_->Unadvise(cookies[2]);
}

}  // namespace
