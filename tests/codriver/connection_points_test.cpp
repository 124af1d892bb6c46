// The connection point of a driver object, called directly in one apartment: the
// subscription protocol, the enumerators and the notification walk.
#include <gtest/gtest.h>

#include <olectl.h>

#include <memory>

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
  ULONG connection_count() {
    IEnumConnections* connections = nullptr;
    point_->EnumConnections(&connections);
    connections->Reset();
    CONNECTDATA data[20];
    ULONG fetched = 0;
    connections->Next(20, data, &fetched);
    for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
    connections->Release();
    return fetched;
  }
  CoDriver* driver_ = nullptr;
  IConnectionPointContainer* container_ = nullptr;
  IConnectionPoint* point_ = nullptr;
};

TEST_F(ConnectionPoints, FindOnlyTheEventInterface) {
  EXPECT_EQ(point_, static_cast<IConnectionPoint*>(&driver_->m_point));
  IConnectionPoint* other = reinterpret_cast<IConnectionPoint*>(1);
  EXPECT_EQ(container_->FindConnectionPoint(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  IID iid = IID_NULL;
  EXPECT_EQ(point_->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, IID_IProcessDriverEvent);
  IConnectionPointContainer* back = nullptr;
  EXPECT_EQ(point_->GetConnectionPointContainer(&back), S_OK);
  EXPECT_EQ(back, container_);
  back->Release();
}

TEST_F(ConnectionPoints, EmbeddedObjectsCountOnTheDriver) {
  const ULONG before = driver_->m_refCount;
  container_->AddRef();
  EXPECT_EQ(driver_->m_refCount, before + 1);
  IEnumConnections* connections = nullptr;
  point_->EnumConnections(&connections);
  EXPECT_EQ(driver_->m_refCount, before + 2);
  connections->Release();
  container_->Release();
  EXPECT_EQ(driver_->m_refCount, before);
}

TEST_F(ConnectionPoints, CookiesAreOddStepByTwoAndUnknownOnesAreInvalid) {
  recording_sink first, second;
  const DWORD a = advise(first), b = advise(second);
  EXPECT_EQ(a % 2, 1u);
  EXPECT_EQ(b, a + 2);
  EXPECT_EQ(first.references, 2);  // the slot holds one reference
  EXPECT_EQ(point_->Unadvise(0), E_INVALIDARG);
  EXPECT_EQ(point_->Unadvise(b + 1), E_INVALIDARG);  // even: never issued
  EXPECT_EQ(point_->Unadvise(a), S_OK);
  EXPECT_EQ(point_->Unadvise(a), E_INVALIDARG);
  EXPECT_EQ(first.references, 1);
  // The remaining sink moved to the first slot and is still notified.
  EXPECT_EQ(driver_->m_point.m_sinkCount, 1);
  EXPECT_EQ(driver_->m_point.m_sinks[0].cookie, b);
  driver_->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, 1, 1);
  EXPECT_EQ(first.transactions.size(), 0u);
  EXPECT_EQ(second.transactions.size(), 1u);
  EXPECT_EQ(point_->Unadvise(b), S_OK);
}

TEST_F(ConnectionPoints, SixteenSinksAtMost) {
  recording_sink sinks[17];
  DWORD cookies[16];
  for (int i = 0; i < 16; ++i) cookies[i] = advise(sinks[i]);
  DWORD cookie = 99;
  EXPECT_EQ(point_->Advise(static_cast<IProcessDriverEvent*>(&sinks[16]), &cookie), CONNECT_E_ADVISELIMIT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(sinks[16].references, 1);
  EXPECT_EQ(connection_count(), 16u);
  for (DWORD c : cookies) EXPECT_EQ(point_->Unadvise(c), S_OK);
  EXPECT_EQ(connection_count(), 0u);
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

TEST_F(ConnectionPoints, ASinkWithoutTheEventInterfaceIsRefused) {
  DispatchOnlySink sink;
  DWORD cookie = 99;
  EXPECT_EQ(point_->Advise(&sink, &cookie), E_NOINTERFACE);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(driver_->m_point.m_sinkCount, 0);
}

TEST_F(ConnectionPoints, PointEnumeratorIsSharedAndKeepsItsPosition) {
  IEnumConnectionPoints* points = nullptr;
  ASSERT_EQ(container_->EnumConnectionPoints(&points), S_OK);
  points->Reset();
  EXPECT_EQ(points->Skip(0), S_OK);
  IConnectionPoint* fetched[2] = {};
  ULONG count = 0;
  EXPECT_EQ(points->Next(2, fetched, &count), S_FALSE);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(fetched[0], point_);
  fetched[0]->Release();
  EXPECT_EQ(points->Skip(0), S_FALSE);
  IEnumConnectionPoints* again = nullptr;
  ASSERT_EQ(container_->EnumConnectionPoints(&again), S_OK);
  EXPECT_EQ(again, points);
  EXPECT_EQ(again->Next(1, fetched, &count), S_FALSE);
  EXPECT_EQ(count, 0u);
  IEnumConnectionPoints* clone = nullptr;
  EXPECT_EQ(again->Clone(&clone), S_OK);
  EXPECT_EQ(clone, points);
  clone->Reset();
  EXPECT_EQ(points->Next(1, fetched, nullptr), S_OK);
  fetched[0]->Release();
  clone->Release();
  again->Release();
  points->Release();
}

TEST_F(ConnectionPoints, ConnectionEnumeratorSkipsWithinTheList) {
  recording_sink sinks[3];
  DWORD cookies[3];
  for (int i = 0; i < 3; ++i) cookies[i] = advise(sinks[i]);
  IEnumConnections* connections = nullptr;
  ASSERT_EQ(point_->EnumConnections(&connections), S_OK);
  connections->Reset();
  EXPECT_EQ(connections->Skip(3), S_FALSE);
  EXPECT_EQ(connections->Skip(2), S_OK);
  CONNECTDATA data[2];
  ULONG fetched = 0;
  EXPECT_EQ(connections->Next(2, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(data[0].dwCookie, cookies[2]);
  EXPECT_EQ(data[0].pUnk, static_cast<IUnknown*>(static_cast<IProcessDriverEvent*>(&sinks[2])));
  data[0].pUnk->Release();
  IEnumConnections* clone = nullptr;
  EXPECT_EQ(connections->Clone(&clone), S_OK);
  EXPECT_EQ(clone, connections);
  clone->Release();
  connections->Release();
  for (DWORD c : cookies) point_->Unadvise(c);
}

TEST_F(ConnectionPoints, TransactionArgumentsAreSplitFromTheLongParameter) {
  struct Row {
    const char* name;
    WPARAM word;
    LPARAM value;
    long tid;
    VARIANT_BOOL success;
    long extra;
  };
  const Row rows[] = {{"success with extra 7", 42, 0x00070001, 42, VARIANT_TRUE, 7},
                      {"failure with extra 7", 42, 0x00070000, 42, VARIANT_FALSE, 7},
                      {"any low bit is success", 5, 0x00000100, 5, VARIANT_TRUE, 0},
                      {"extra is zero-extended", 9, static_cast<LPARAM>(0xFFFF0000u), 9, VARIANT_FALSE, 0xFFFF}};
  recording_sink sink;
  const DWORD cookie = advise(sink);
  for (const auto& row : rows) {
    sink.transactions.clear();
    EXPECT_EQ(driver_->NotifySinks(EID_TRANSACTIONCOMPLETED, reinterpret_cast<HWND>(1), row.word, row.value),
              CoDriver::NotifyDone);
    ASSERT_EQ(sink.transactions.size(), 1u) << row.name;
    EXPECT_EQ(sink.transactions[0].tid, row.tid) << row.name;
    EXPECT_EQ(sink.transactions[0].success, row.success) << row.name;
    EXPECT_EQ(sink.transactions[0].extra, row.extra) << row.name;
  }
  driver_->NotifySinks(static_cast<EventID>(7), nullptr, 1, 1);  // no such event: no call
  EXPECT_EQ(sink.transactions.size(), 1u);
  EXPECT_EQ(sink.terminates, 0);
  point_->Unadvise(cookie);
}

TEST_F(ConnectionPoints, AFailingSinkDoesNotStopTheWalk) {
  recording_sink failing, healthy;
  failing.failure = E_FAIL;
  const DWORD a = advise(failing), b = advise(healthy);
  driver_->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, 3, 1);
  driver_->NotifySinks(EID_TERMINATE, nullptr, 0, 0);
  EXPECT_EQ(failing.transactions.size(), 1u);
  EXPECT_EQ(healthy.transactions.size(), 1u);
  EXPECT_EQ(healthy.terminates, 1);
  point_->Unadvise(a);
  point_->Unadvise(b);
}

TEST_F(ConnectionPoints, SinksMayUnsubscribeInsideTerminate) {
  recording_sink sinks[3];
  DWORD cookies[3];
  for (int i = 0; i < 3; ++i) cookies[i] = advise(sinks[i]);
  sinks[0].on_terminate = [&] { EXPECT_EQ(point_->Unadvise(cookies[0]), S_OK); };
  sinks[1].on_terminate = [&] { EXPECT_EQ(point_->Unadvise(cookies[1]), S_OK); };
  driver_->NotifySinks(EID_TERMINATE, nullptr, 0, 0);
  for (auto& sink : sinks) EXPECT_EQ(sink.terminates, 1);
  EXPECT_EQ(driver_->m_point.m_sinkCount, 1);
  EXPECT_EQ(driver_->m_point.m_sinks[0].cookie, cookies[2]);
  for (auto& sink : sinks) EXPECT_EQ(sink.references, sink.terminates == 1 && &sink == &sinks[2] ? 2 : 1);
  point_->Unadvise(cookies[2]);
}

}  // namespace
