// The driver object under COM load, with real proxies between processes under Wine. This
// process is the driver: it runs a CoDriver on its server thread and fires NotifySinks from
// driver threads of its own, each event carrying a sequence number. Three client processes
// (the same program with --client) run threads in single-threaded apartments with message
// loops and in the multithreaded apartment; each thread reads properties, walks the channel
// maps and subscribes and unsubscribes all the time. Mid-run one client is killed with
// TerminateProcess and a new one started; at the end the object is stopped with every client
// still connected and subscribed.
//
// What must hold: an event whose NotifySinks began after Advise returned and ended before
// Unadvise was called arrives exactly once; no event arrives twice; no call of a living
// client fails; every sink receives Terminate once; the driver's handles, threads and private
// bytes after the run are within the margins below of their values after warm-up (the first
// quarter of the run); the new client is served after the kill; StopObject ends within its
// bound; the events went out at the rate asked for (on average, at least 90 % of it).
//
//   com_soak [--seconds 60] [--rate 500] [--no-kill]
// Prints one line of figures; exits 0 when everything held, 1 otherwise.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "codriver/codriver_test_support.h"
#include "support/child_process.h"
#include "support/rpc_service.h"
#include "sys/com_ptr.h"
#include "sys/handles.h"
#include "tambre32/codriver.h"

namespace {

using tambre::sys::com_ptr;

constexpr long kProjectId = 7;
constexpr int kChannels = 4;                  // of ctAIn, named AIn1 ... AIn4
constexpr int kClientSlots = 4;               // three clients and the one started after the kill
constexpr int kKilledSlot = 1, kNewSlot = 3;  // slot 3 runs what slot 1 ran
constexpr DWORD kStopBoundMs = 3000;          // StopObject with every client connected
// Between warm-up and the end the driver's figures may grow this much: handles come and go
// with the calls in flight and Wine keeps some of the killed client's connection handles;
// Wine's RPC layer adds a server thread (with about 1 MiB of stack) when more calls than
// ever arrive at once.
constexpr DWORD kHandleMargin = 128;
constexpr DWORD kThreadMargin = 4;
constexpr SIZE_T kPrivateMargin = 8 * 1024 * 1024;
constexpr DWORD kStartBoundMs = 60000;  // a cold Wine prefix starts processes slowly

// What one client process did, written by its threads and read by the driver.
struct client_figures {
  LONG64 calls, failures, wrong_answers, subscriptions, events, lost, duplicated, terminates;
  LONG threads_ready, threads_done;
  LONG quiet;          // set by the driver: unsubscribe and stay so, calls go on
  LONG threads_quiet;  // threads that hold no subscription since quiet was set
};

constexpr int kFiringThreads = 32;  // the driver's threads that call NotifySinks
constexpr DWORD kPauseMs = 10;      // between two rounds of calls of a client thread

// The memory the driver shares with its clients.
struct shared_state {
  volatile LONG64 begun;                      // the last sequence number taken by a firing thread
  volatile LONG64 in_flight[kFiringThreads];  // at most the number it notifies now; 0 when idle
  client_figures clients[kClientSlots];
};

// The highest number up to which every NotifySinks has returned. A firing thread announces
// a lower bound of its next number before taking it, so begun is read first.
LONG64 completed(const shared_state& shared) {
  LONG64 up_to = shared.begun;
  for (const volatile LONG64& seq : shared.in_flight) {
    const LONG64 now = seq;
    if (now != 0 && now - 1 < up_to) up_to = now - 1;
  }
  return up_to;
}

std::string shared_name(DWORD driver_process) { return "com_soak." + std::to_string(driver_process); }

// The shared state and the "finish" event that ends the clients' work.
class shared_view {
 public:
  shared_view(DWORD driver_process, bool create) {
    const std::string name = shared_name(driver_process);
    if (create) {
      mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(shared_state),
                                        (name + ".state").c_str()));
      finish_.reset(CreateEventA(nullptr, TRUE, FALSE, (name + ".finish").c_str()));
    } else {
      mapping_.reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, (name + ".state").c_str()));
      finish_.reset(OpenEventA(SYNCHRONIZE, FALSE, (name + ".finish").c_str()));
    }
    if (mapping_) state_ = static_cast<shared_state*>(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
  }
  ~shared_view() {
    if (state_) UnmapViewOfFile(state_);
  }
  shared_view(const shared_view&) = delete;
  shared_view& operator=(const shared_view&) = delete;

  bool ready() const { return state_ && finish_; }
  shared_state& state() const { return *state_; }
  HANDLE finish() const { return finish_.get(); }

 private:
  tambre::sys::unique_handle mapping_, finish_;
  shared_state* state_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Client side

// The sink of one subscription: remembers which events arrived, counts the second arrival
// of any of them at once. Lives on the heap as long as the driver or the client holds it.
class counting_sink final : public IProcessDriverEvent {
 public:
  counting_sink(client_figures& figures, HANDLE terminated) : figures_(figures), terminated_(terminated) {}

  // Events of the window (after, up_to] that did not arrive.
  LONG64 missing(LONG64 after, LONG64 up_to) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG64 lost = 0;
    for (LONG64 seq = after + 1; seq <= up_to; ++seq) lost += seen_.count(seq) == 0;
    return lost;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IProcessDriverEvent) return E_NOINTERFACE;
    *out = static_cast<IProcessDriverEvent*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
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
    InterlockedIncrement64(&figures_.terminates);
    SetEvent(terminated_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TransactionCompleted(IDispatch* server, long tid, VARIANT_BOOL success,
                                                 long extra) override {
    InterlockedIncrement64(&figures_.events);
    if (!server || success != VARIANT_TRUE || extra != kProjectId) InterlockedIncrement64(&figures_.wrong_answers);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!seen_.insert(tid).second) InterlockedIncrement64(&figures_.duplicated);
    return S_OK;
  }

 private:
  ~counting_sink() = default;
  std::atomic<ULONG> references_{1};
  client_figures& figures_;
  HANDLE terminated_;
  std::mutex mutex_;
  std::unordered_set<long> seen_;
};

// One client thread: its own proxy of the driver, one subscription at a time.
class client_thread {
 public:
  client_thread(shared_state& shared, client_figures& figures, HANDLE finish, bool sta, unsigned seed)
      : shared_(shared),
        figures_(figures),
        finish_(finish),
        sta_(sta),
        apartment_(sta ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED),
        random_(seed) {}

  void run() {
    if (!connect()) return;
    InterlockedIncrement(&figures_.threads_ready);
    std::uniform_int_distribution<int> rounds(1, 4);
    bool quiet = false;
    for (int left = rounds(random_); !wait(kPauseMs); --left) {
      read_properties();
      if (!quiet && figures_.quiet) {
        if (cookie_) unsubscribe();
        quiet = true;
        InterlockedIncrement(&figures_.threads_quiet);
      }
      if (left == 0 && !quiet) {
        cookie_ ? unsubscribe() : subscribe();
        left = rounds(random_);
      }
    }
    // The driver has stopped firing: the current window is complete. Every thread stays
    // subscribed and connected until the driver stops.
    if (!cookie_) subscribe();
    if (sink_) InterlockedAdd64(&figures_.lost, sink_->missing(after_, completed(shared_)));
    InterlockedIncrement(&figures_.threads_done);
    if (!sink_) return;
    if (!wait_serving(terminated_.get(), kStartBoundMs)) InterlockedIncrement64(&figures_.failures);
    drop_sink();
  }

 private:
  // Counts the call; an apartment thread then serves the events that arrived meanwhile.
  bool check(HRESULT result) {
    InterlockedIncrement64(&figures_.calls);
    if (sta_) serve_queued();
    if (SUCCEEDED(result)) return true;
    InterlockedIncrement64(&figures_.failures);
    std::fprintf(stderr, "com_soak client %lu: call failed 0x%08lX\n", GetCurrentProcessId(),
                 static_cast<unsigned long>(result));
    return false;
  }
  void expect(bool right) {
    if (!right) InterlockedIncrement64(&figures_.wrong_answers);
  }
  void expect_text(BSTR text, const std::wstring& expected) {
    expect(text && expected == text);
    SysFreeString(text);
  }

  bool connect() {
    if (!check(CoCreateInstance(CLSID_ProcessDriver, nullptr, CLSCTX_LOCAL_SERVER, IID_IProcessDriver,
                                reinterpret_cast<void**>(driver_.put())))) {
      return false;
    }
    com_ptr<IConnectionPointContainer> container;
    return check(driver_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.put()))) &&
           check(container->FindConnectionPoint(IID_IProcessDriverEvent, point_.put()));
  }

  // Properties, then the maps of ctAIn by index and through their enumerator.
  void read_properties() {
    BSTR name = nullptr;
    if (check(driver_->GetName(&name))) expect_text(name, L"ProcessDriver.Server");
    long value = 0;
    if (check(driver_->GetProjectID(&value))) expect(value == kProjectId);
    if (check(driver_->GetChannelCount(ctAIn, &value))) expect(value == kChannels);
    com_ptr<ChannelMapCollection> maps;
    if (!check(driver_->GetChannelMaps(ctAIn, maps.put()))) return;
    if (check(maps->GetCount(&value))) expect(value == kChannels);
    for (long index = 1; index <= kChannels; ++index) {
      com_ptr<ChannelMap> map;
      if (check(maps->GetItem(index, map.put())) && check(map->GetName(&name))) {
        expect_text(name, L"AIn" + std::to_wstring(index));
      }
    }
    com_ptr<IUnknown> enumerator;
    com_ptr<IEnumVARIANT> items;
    if (!check(maps->_NewEnumItem(enumerator.put())) ||
        !check(enumerator->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.put())))) {
      return;
    }
    VARIANT item[kChannels + 1];
    ULONG fetched = 0;
    if (!check(items->Next(kChannels + 1, item, &fetched))) return;
    expect(fetched == kChannels);
    for (ULONG i = 0; i < fetched; ++i) {
      com_ptr<ChannelMap> map;
      long address = 0;
      if (V_VT(&item[i]) == VT_DISPATCH &&
          check(V_DISPATCH(&item[i])->QueryInterface(IID_ChannelMap, reinterpret_cast<void**>(map.put()))) &&
          check(map->GetChannelAddress(&address))) {
        expect(address == static_cast<long>(i + 1));
      }
      VariantClear(&item[i]);
    }
  }

  void subscribe() {
    sink_ = new counting_sink(figures_, terminated_.get());
    if (!check(point_->Advise(static_cast<IProcessDriverEvent*>(sink_), &cookie_))) {
      cookie_ = 0;
      drop_sink();
      return;
    }
    after_ = shared_.begun;  // later events began after Advise returned
    InterlockedIncrement64(&figures_.subscriptions);
  }

  void unsubscribe() {
    const LONG64 up_to = completed(shared_);  // these ended before Unadvise is called
    check(point_->Unadvise(cookie_));
    cookie_ = 0;
    InterlockedAdd64(&figures_.lost, sink_->missing(after_, up_to));
    drop_sink();
  }

  void drop_sink() {
    sink_->Release();
    sink_ = nullptr;
  }

  // True once the finish event is set, after `ms` of serving calls otherwise.
  bool wait(DWORD ms) {
    if (!sta_) return WaitForSingleObject(finish_, ms) == WAIT_OBJECT_0;
    return wait_serving(finish_, ms);
  }
  bool wait_serving(HANDLE event, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
      const ULONGLONG now = GetTickCount64();
      const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
      const DWORD wait = MsgWaitForMultipleObjects(1, &event, FALSE, left, QS_ALLINPUT);
      if (wait == WAIT_OBJECT_0) return true;
      if (wait != WAIT_OBJECT_0 + 1) return false;
      serve_queued();
    }
  }
  static void serve_queued() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  shared_state& shared_;
  client_figures& figures_;
  HANDLE finish_;
  bool sta_;
  tambre::test::apartment apartment_;  // outlives the proxies below
  std::mt19937 random_;
  tambre::sys::unique_handle terminated_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  com_ptr<IProcessDriver> driver_;
  com_ptr<IConnectionPoint> point_;
  counting_sink* sink_ = nullptr;
  DWORD cookie_ = 0;
  LONG64 after_ = 0;
};

int run_client(DWORD driver_process, int slot, int sta_threads, int mta_threads) {
  shared_view shared(driver_process, false);
  if (!shared.ready() || slot < 0 || slot >= kClientSlots) return 2;
  client_figures& figures = shared.state().clients[slot];
  std::vector<std::thread> threads;
  for (int i = 0; i < sta_threads + mta_threads; ++i) {
    threads.emplace_back([&, i] {
      client_thread(shared.state(), figures, shared.finish(), i < sta_threads, GetCurrentProcessId() * 31 + i).run();
    });
  }
  for (auto& thread : threads) thread.join();
  return 0;
}

// ---------------------------------------------------------------------------------------
// Driver side

struct usage {
  DWORD handles = 0, threads = 0;
  SIZE_T private_bytes = 0;
};

// Wine's GetProcessHandleCount answers 0; its list of the system's handles counts them.
DWORD handle_count() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
  struct entry {
    ULONG owner;
    BYTE type, flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
  };
  struct list {
    ULONG count;
    entry handles[1];
  };
  std::vector<char> buffer(1 << 20);
  const auto kind = static_cast<SYSTEM_INFORMATION_CLASS>(16);  // SystemHandleInformation
  ULONG needed = 0;
  while (NtQuerySystemInformation(kind, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) ==
         static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  }
  const auto* all = reinterpret_cast<const list*>(buffer.data());
  for (ULONG i = 0; i < all->count; ++i) count += all->handles[i].owner == GetCurrentProcessId();
  return count;
}

usage own_usage() {
  usage now;
  now.handles = handle_count();
  tambre::sys::unique_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
    now.threads += entry.th32OwnerProcessID == GetCurrentProcessId();
  }
  // PagefileUsage is the private commit, as PrivateUsage is; Wine fills only the former.
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  now.private_bytes = memory.PagefileUsage;
  return now;
}

// Once the clients are done, the lowest figures of two seconds: Wine's RPC layer lets go of
// the handles and threads of the last calls over a while, and a single sample catches it
// anywhere on the way (a few hundred handles apart).
usage settled_usage() {
  usage lowest = own_usage();
  for (int i = 0; i < 20; ++i) {
    Sleep(100);
    const usage now = own_usage();
    lowest.handles = std::min(lowest.handles, now.handles);
    lowest.threads = std::min(lowest.threads, now.threads);
    lowest.private_bytes = std::min(lowest.private_bytes, now.private_bytes);
  }
  return lowest;
}

// The driver's threads: NotifySinks at `rate` per second together until told to stop.
class event_source {
 public:
  event_source(CoDriver& driver, shared_state& shared, int rate) : start_(GetTickCount64()) {
    for (int i = 0; i < kFiringThreads; ++i) {
      threads_.emplace_back([this, &driver, &shared, rate, i] {
        tambre::test::apartment apartment(COINIT_MULTITHREADED);
        volatile LONG64& in_flight = shared.in_flight[i];
        while (!stop_) {
          InterlockedExchange64(&in_flight, shared.begun + 1);
          const LONG64 seq = InterlockedIncrement64(&shared.begun);
          InterlockedExchange64(&in_flight, seq);
          while (GetTickCount64() - start_ < static_cast<ULONGLONG>((seq - 1) * 1000 / rate)) Sleep(1);
          driver.NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, static_cast<WPARAM>(seq), kProjectId << 16 | 1);
          InterlockedExchange64(&in_flight, 0);
        }
      });
    }
  }
  ~event_source() { stop(); }
  void stop() {
    stop_ = true;
    for (auto& thread : threads_) {
      if (thread.joinable()) thread.join();
    }
    if (seconds_ == 0) seconds_ = static_cast<double>(GetTickCount64() - start_) / 1000;
  }
  double seconds() const { return seconds_; }

 private:
  std::atomic<bool> stop_{false};
  const ULONGLONG start_;
  double seconds_ = 0;
  std::vector<std::thread> threads_;
};

struct client_plan {
  int sta, mta;
};
constexpr client_plan kPlans[kClientSlots] = {{2, 1}, {1, 2}, {2, 1}, {1, 2}};

std::unique_ptr<tambre::test::child_process> start_client(int slot) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string line = "\"" + std::string(self) + "\" --client " + std::to_string(GetCurrentProcessId()) + " " +
                           std::to_string(slot) + " " + std::to_string(kPlans[slot].sta) + " " +
                           std::to_string(kPlans[slot].mta);
  return std::make_unique<tambre::test::child_process>(line);
}

// Waits until `count` (of a client's threads that got so far, or of its events) reaches
// `target`, within the bound.
template <typename Count>
bool wait_for(const volatile Count& count, Count target) {
  const ULONGLONG deadline = GetTickCount64() + kStartBoundMs;
  while (count < target) {
    if (GetTickCount64() > deadline) return false;
    Sleep(10);
  }
  return true;
}

LONG threads_of(int slot) { return kPlans[slot].sta + kPlans[slot].mta; }

int run_driver(DWORD seconds, int rate, bool kill) {
  int faults = 0;
  const auto expect = [&faults](bool held, const char* what) {
    if (held) return;
    ++faults;
    std::fprintf(stderr, "com_soak: fault: %s\n", what);
  };
  // Left by process exit, not CoUninitialize: once a client was killed, Wine still holds
  // references to the driver object after StopObject's CoDisconnectObject (3 here, none
  // without the kill; the event calls that failed on the dead client's sinks had passed the
  // object as Server). Destroy releases those too, and CoUninitialize would release them
  // once more on the deleted object.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (!tambre::test::ensure_rpc_service_running() || FAILED(tambre::test::register_type_library_for_marshalling())) {
    std::printf("com_soak: no RPC service or type library registration\n");
    return 1;
  }
  shared_view shared(GetCurrentProcessId(), true);
  if (!shared.ready()) return 1;
  shared_state& state = shared.state();

  static char names[kChannels * DRV_SHORT_NAME_SIZE];
  tambre::test::fill_names(reinterpret_cast<unsigned char*>(names), kChannels, DRV_SHORT_NAME_SIZE, "AIn");
  auto* driver = new CoDriver;
  driver->m_projectId = kProjectId;
  driver->m_channelCounts[ctAIn] = kChannels;
  driver->m_shortNames[ctAIn] = names;
  if (!driver->RunObject(DRV_RUN_TYPE_INFO | DRV_RUN_CHANNEL_COUNTS, nullptr)) {
    std::printf("com_soak: the driver object does not run\n");
    return 1;
  }

  event_source events(*driver, state, rate);
  std::unique_ptr<tambre::test::child_process> clients[kClientSlots];
  int threads = 0;
  for (int slot = 0; slot < kNewSlot; ++slot) {
    clients[slot] = start_client(slot);
    threads += threads_of(slot);
  }
  for (int slot = 0; slot < kNewSlot; ++slot) {
    expect(wait_for(state.clients[slot].threads_ready, threads_of(slot)), "a client did not connect");
  }

  // Warm-up, then the first figures; the kill and the new client in the middle.
  const DWORD warm_up_ms = seconds * 1000 / 4;
  const ULONGLONG start = GetTickCount64();
  Sleep(warm_up_ms);
  const usage warm = own_usage();
  Sleep((seconds * 1000 - warm_up_ms) / 2);
  // The client is killed holding its proxies and in the middle of calls, but with no
  // subscription: a sink stays subscribed until Unadvise, and under Wine every call to the
  // sink of a dead process leaves handles behind in Wine's RPC layer (about 3000 a minute at
  // 500 events a second), which would hide any leak of the library's own.
  const int killed = kill ? kKilledSlot : -1;
  bool new_served = true;
  if (kill) {
    InterlockedExchange(&state.clients[kKilledSlot].quiet, 1);
    expect(wait_for(state.clients[kKilledSlot].threads_quiet, threads_of(kKilledSlot)), "the client did not go quiet");
    TerminateProcess(clients[kKilledSlot]->handle(), 9);
    expect(clients[kKilledSlot]->wait(10000) == 9, "the killed client did not end");
    clients[kNewSlot] = start_client(kNewSlot);
    // Served: all its threads connected and calling, and events arriving at its sinks.
    const client_figures& newcomer = state.clients[kNewSlot];
    new_served = wait_for(newcomer.threads_ready, threads_of(kNewSlot)) && wait_for(newcomer.events, 1LL);
  }
  const ULONGLONG elapsed = GetTickCount64() - start;
  if (elapsed < seconds * 1000ULL) Sleep(static_cast<DWORD>(seconds * 1000ULL - elapsed));

  // Firing ends first, so that every client's last window is complete when it looks.
  events.stop();
  SetEvent(shared.finish());
  for (int slot = 0; slot < kClientSlots; ++slot) {
    if (clients[slot] && slot != killed)
      expect(wait_for(state.clients[slot].threads_done, threads_of(slot)), "a client did not finish");
  }
  const usage end = settled_usage();
  const ULONGLONG stop_start = GetTickCount64();
  const BOOL stopped = driver->StopObject(0);
  const ULONGLONG stop_ms = GetTickCount64() - stop_start;
  for (int slot = 0; slot < kClientSlots; ++slot) {
    if (clients[slot] && slot != killed) expect(clients[slot]->wait(kStartBoundMs) == 0, "a client did not end well");
  }
  driver->m_shortNames[ctAIn] = nullptr;
  expect(CoDriver::Destroy(driver) == nullptr, "Destroy failed");

  client_figures sum{};
  int living_threads = 0;
  for (int slot = 0; slot < kClientSlots; ++slot) {
    const client_figures& one = state.clients[slot];
    sum.calls += one.calls;
    sum.subscriptions += one.subscriptions;
    sum.events += one.events;
    sum.lost += one.lost;
    sum.duplicated += one.duplicated;
    sum.wrong_answers += one.wrong_answers;
    if (!clients[slot] || slot == killed) continue;  // its calls may fail while it is torn down
    sum.failures += one.failures;
    sum.terminates += one.terminates;
    living_threads += threads_of(slot);
  }
  const LONG64 sent = state.begun;
  expect(new_served, "the new client was not served");
  expect(sum.failures == 0 && sum.wrong_answers == 0, "calls failed or answered wrongly");
  expect(sum.lost == 0 && sum.duplicated == 0, "events lost or doubled");
  expect(sum.terminates == living_threads, "Terminate missing or doubled");
  expect(end.handles <= warm.handles + kHandleMargin && end.threads <= warm.threads + kThreadMargin &&
             end.private_bytes <= warm.private_bytes + kPrivateMargin,
         "the driver's handles, threads or private bytes grew");
  expect(stopped && stop_ms <= kStopBoundMs, "StopObject failed or took too long");
  expect(sent >= static_cast<LONG64>(rate * events.seconds() * 0.9), "events went out slower than asked");

  std::printf(
      "com_soak: %lu s, %d clients (%d threads, STA and MTA), 1 killed and a new one served: %s; "
      "%lld calls, %lld failed, %lld wrong; %lld events sent (%.0f/s, asked %d/s), %lld received, %lld lost, "
      "%lld twice; %lld subscriptions; Terminate %lld of %d; handles %lu->%lu, threads %lu->%lu, "
      "private %.1f->%.1f MiB (margins +%lu, +%lu, +%.0f MiB); StopObject %llu ms (bound %lu ms); faults %d\n",
      static_cast<unsigned long>(seconds), kNewSlot, threads,
      !kill        ? "not tried"
      : new_served ? "yes"
                   : "no",
      sum.calls, sum.failures, sum.wrong_answers, sent, sent / events.seconds(), rate, sum.events, sum.lost,
      sum.duplicated, sum.subscriptions, sum.terminates, living_threads, warm.handles, end.handles, warm.threads,
      end.threads, warm.private_bytes / 1048576.0, end.private_bytes / 1048576.0, kHandleMargin, kThreadMargin,
      kPrivateMargin / 1048576.0, stop_ms, kStopBoundMs, faults);
  return faults == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // A crash ends the process (and fails the soak) instead of waiting in Wine's debugger.
  SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* crash) -> LONG {
    std::fprintf(stderr, "com_soak: process %lu crashed at %p\n", GetCurrentProcessId(),
                 crash->ExceptionRecord->ExceptionAddress);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
  });
  if (argc == 6 && std::string(argv[1]) == "--client") {
    return run_client(static_cast<DWORD>(std::atoi(argv[2])), std::atoi(argv[3]), std::atoi(argv[4]),
                      std::atoi(argv[5]));
  }
  DWORD seconds = 60;
  int rate = 500;
  bool kill = true;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--seconds" && i + 1 < argc) seconds = static_cast<DWORD>(std::atoi(argv[++i]));
    if (name == "--rate" && i + 1 < argc) rate = std::atoi(argv[++i]);
    if (name == "--no-kill") kill = false;
  }
  return run_driver(seconds, rate, kill);
}
