// A process driver for the Modbus RTU instrument of a small pumping station, built on the
// library the way a driver's life runs: it creates its CoDriver, forwards the host's init
// record and runs the object; reads its settings; opens its serial port with CSio; polls
// every cycle and reports each poll as a transaction to the object's event sinks; journals
// connection changes and summaries; and destroys the object at the end.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

#include "driver_entry.h"
#include "driver_journal.h"
#include "driver_settings.h"
#include "modbus_link.h"
#include "poll_statistics.h"
#include "rtu_frame.h"
#include "tambre32/floattext.h"
#include "tambre32/frame.h"
#include "tambre32/schedule.h"
#include "tambre32/timecore.h"

namespace {

HMODULE this_module = nullptr;

// The instrument's register map (see examples/field_instrument/pump_station_model.h).
constexpr std::uint16_t kInputCount = 5;
constexpr std::uint16_t kHoldingCount = 2;
constexpr std::uint16_t kSetPointRegister = 0;
constexpr std::uint16_t kReleaseRegister = 1;
constexpr DWORD kDefaultCycle = 500;  // ms, when the host does not say
constexpr DWORD kStopWait = 4000;     // ms for the poll thread

struct output_request {
  long type;
  long index;
  double value;
};

class modbus_driver {
 public:
  modbus_driver(const DrvInitStruct& init, const DrvHostCallbacks& host);
  ~modbus_driver();
  bool start();
  bool queue_output(long type, long index, double value);
  int setup(HWND parent);

 private:
  void poll_loop();
  void run_cycle();
  void write_output(const output_request& request);
  bool transaction(const modbus_rtu::frame& request, std::uint16_t* registers, modbus_link::timing& times);
  void deliver(const std::uint16_t* inputs, const std::uint16_t* holding, const modbus_link::timing& times);
  void connection_result(bool success, DrvOutcome outcome);
  void set_state(long state);
  DWORD cycle_time();
  static void message(const char* text);

  DrvHostCallbacks host_;
  driver_settings settings_;
  CoDriver* object_ = nullptr;  // its module is this one: it carries the type library and template
  modbus_link port_;
  driver_journal journal_;
  poll_statistics statistics_;
  std::thread poller_;
  HANDLE stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::mutex outputs_lock_;
  std::deque<output_request> outputs_;
  std::uint16_t release_ = 0;  // the release register as last read
  unsigned long next_tid_ = 1;
  enum class link { unknown, online, lost } link_ = link::unknown;
  double level_m_ = 0;
  tambre32::timespec summary_schedule_;
  unsigned last_summary_minute_ = 0;  // the minute of the last summary, or of the start
};

modbus_driver* the_driver = nullptr;
DrvHostCallbacks host_for_messages{};

modbus_driver::modbus_driver(const DrvInitStruct& init, const DrvHostCallbacks& host)
    : host_(host), settings_(load_settings(this_module)), journal_(this_module) {
  object_ = CoDriver::Create(this_module, 0x0100, 1, "ModbusRTU.Pumpwerk", nullptr, nullptr, CLSID_ProcessDriver,
                             IID_IProcessDriver, IID_IProcessDriverEvent, LIBID_TambreTypes);
  if (object_) object_->ForwardInit(&init);
}

modbus_driver::~modbus_driver() {
  SetEvent(stop_);
  if (poller_.joinable()) poller_.join();
  journal_.summary("Stopp", statistics_, level_m_);
  port_.Close();
  // Stops the server thread, which sends Terminate to every sink.
  if (object_) CoDriver::Destroy(object_);
  CloseHandle(stop_);
  SetMessageOut(nullptr);
}

// The library's message output and the port's both end here, and go on to the host.
void modbus_driver::message(const char* text) {
  if (host_for_messages.message) host_for_messages.message(host_for_messages.context, text);
}

bool modbus_driver::start() {
  if (!object_) return false;
  const int flags = DRV_RUN_FILE_MONIKER | DRV_RUN_TYPE_INFO | DRV_RUN_REGISTER | DRV_RUN_CHANNEL_COUNTS;
  if (!object_->RunObject(flags, nullptr)) return false;
  journal_.started(settings_, *object_);
  host_for_messages = host_;
  SetMessageOut(&modbus_driver::message);
  port_.SetMessageOut(&modbus_driver::message);
  if (!port_.Open(settings_.port)) {
    MessageOut("Modbus: Port %s laesst sich nicht oeffnen", settings_.port);
  }
  summary_schedule_.init();
  summary_schedule_.kind = settings_.summary_kind;
  summary_schedule_.minute = static_cast<short>(settings_.summary_minute);
  summary_schedule_.recalc();
  last_summary_minute_ = _time(nullptr) / 60;  // the first summary comes at the next due minute
  poller_ = std::thread([this] { poll_loop(); });
  return true;
}

DWORD modbus_driver::cycle_time() {
  long milliseconds = 0;
  if (object_->GetCycleTime(&milliseconds) != S_OK || milliseconds < 0) return kDefaultCycle;
  return static_cast<DWORD>(milliseconds);
}

void modbus_driver::poll_loop() {
  // NotifySinks calls the sinks through COM: this thread joins the multithreaded apartment.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  do {
    const ULONGLONG begun = GetTickCount64();
    run_cycle();
    // The schedule matches whole minutes: one summary per due minute.
    const tambre_time_t now = _time(nullptr);
    if (now / 60 != last_summary_minute_ && summary_schedule_.match(static_cast<tambre32::timespec_long>(now), 0)) {
      journal_.summary("Zusammenfassung", statistics_, level_m_);
      last_summary_minute_ = now / 60;
    }
    const ULONGLONG spent = GetTickCount64() - begun;
    const DWORD cycle = cycle_time();
    const DWORD rest = spent < cycle ? static_cast<DWORD>(cycle - spent) : 0;
    if (WaitForSingleObject(stop_, rest) == WAIT_OBJECT_0) break;
  } while (true);
  CoUninitialize();
}

void modbus_driver::run_cycle() {
  for (;;) {
    output_request request;
    {
      std::lock_guard<std::mutex> hold(outputs_lock_);
      if (outputs_.empty()) break;
      request = outputs_.front();
      outputs_.pop_front();
    }
    write_output(request);
  }
  const auto slave = static_cast<std::uint8_t>(settings_.slave);
  std::uint16_t inputs[kInputCount] = {};
  std::uint16_t holding[kHoldingCount] = {};
  modbus_link::timing input_times, holding_times;
  if (!transaction(modbus_rtu::read_request(slave, modbus_rtu::kReadInputs, 0, kInputCount), inputs, input_times)) {
    return;
  }
  if (!transaction(modbus_rtu::read_request(slave, modbus_rtu::kReadHolding, 0, kHoldingCount), holding,
                   holding_times)) {
    return;
  }
  release_ = holding[kReleaseRegister];
  deliver(inputs, holding, input_times);
}

void modbus_driver::write_output(const output_request& request) {
  std::uint16_t address, value;
  if (request.type == ctAOut && request.index == 0) {
    address = kSetPointRegister;
    value = static_cast<std::uint16_t>(request.value * 100.0 + 0.5);  // m to cm
  } else if (request.type == ctDOut && (request.index == 0 || request.index == 1)) {
    const std::uint16_t bit = static_cast<std::uint16_t>(1u << request.index);
    address = kReleaseRegister;
    value = static_cast<std::uint16_t>(request.value != 0 ? release_ | bit : release_ & ~bit);
  } else {
    return;
  }
  modbus_link::timing times;
  if (transaction(modbus_rtu::write_request(static_cast<std::uint8_t>(settings_.slave), address, value), nullptr,
                  times) &&
      address == kReleaseRegister) {
    release_ = value;
  }
}

// One request and its answer, reported to the sinks as a transaction: the word is the
// transaction id, the low half of the value the success flag, the high half the outcome.
bool modbus_driver::transaction(const modbus_rtu::frame& request, std::uint16_t* registers,
                                modbus_link::timing& times) {
  const DrvOutcome outcome = port_.transact(request, registers, settings_.timeout_ms, times);
  const bool success = outcome == DrvOk;
  const unsigned long tid = next_tid_++;
  statistics_.add(success, outcome, times.duration_ms);
  object_->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, static_cast<WPARAM>(tid),
                       static_cast<LPARAM>((static_cast<DWORD>(outcome) << 16) | (success ? 1u : 0u)));
  if (host_.transaction)
    host_.transaction(host_.context, tid, success ? 1 : 0, outcome, times.duration_ms, times.answered);
  connection_result(success, outcome);
  return success;
}

void modbus_driver::connection_result(bool success, DrvOutcome outcome) {
  if (success) {
    if (link_ == link::unknown) journal_.connection_established();
    if (link_ == link::lost) {
      journal_.connection_restored();
      MessageOut("Modbus: Verbindung zu Slave %d wiederhergestellt", settings_.slave);
    }
    if (link_ != link::online) set_state(DrvStatRun);
    link_ = link::online;
    return;
  }
  if (link_ == link::lost) return;  // journaled once per loss
  static const char* const reasons[] = {
      "", "Zeitueberschreitung", "Pruefsummenfehler", "Ausnahmeantwort", "Fehlerhafte Antwort", "Port nicht offen"};
  const char* reason = reasons[outcome];
  journal_.connection_lost(reason);
  MessageOut("Modbus: Verbindung zu Slave %d unterbrochen (%s)", settings_.slave, reason);
  set_state(DrvStatAInFailure);
  link_ = link::lost;
}

void modbus_driver::set_state(long state) {
  if (host_.state) host_.state(host_.context, state);
}

void modbus_driver::deliver(const std::uint16_t* inputs, const std::uint16_t* holding,
                            const modbus_link::timing& times) {
  struct channel {
    long type, index;
    double value;
    short decimals;
  };
  level_m_ = inputs[0] / 100.0;
  const channel channels[] = {
      {ctAIn, 0, inputs[0] / 100.0, 2},
      {ctAIn, 1, inputs[1] / 10.0, 1},
      {ctAIn, 2, inputs[2] / 10.0, 1},
      {ctAIn, 3, holding[kSetPointRegister] / 100.0, 2},
      {ctDIn, 0, double(inputs[3] & 1), 0},
      {ctDIn, 1, double((inputs[3] >> 1) & 1), 0},
      {ctDIn, 2, double(inputs[4] != 0), 0},
      {ctDOut, 0, double(holding[kReleaseRegister] & 1), 0},
      {ctDOut, 1, double((holding[kReleaseRegister] >> 1) & 1), 0},
  };
  DrvValue values[sizeof channels / sizeof channels[0]];
  int count = 0;
  for (const channel& c : channels) {
    if (c.index >= object_->m_channelCounts[c.type]) continue;  // the host configured fewer
    DrvValue& v = values[count++];
    v.channelType = c.type;
    v.index = c.index;
    v.value = c.value;
    FormatFloat(v.text, static_cast<short>(DRV_VALUE_TEXT_SIZE - 1), c.decimals, c.value, 0);
    v.requested = times.requested;
    v.answered = times.answered;
  }
  if (host_.values) host_.values(host_.context, values, count);
}

bool modbus_driver::queue_output(long type, long index, double value) {
  std::lock_guard<std::mutex> hold(outputs_lock_);
  outputs_.push_back({type, index, value});
  return true;
}

int modbus_driver::setup(HWND parent) {
  char port[sizeof settings_.port];
  lstrcpynA(port, settings_.port, sizeof port);
  const int answer = port_.SetupDialog(parent, port, 0);
  if (answer != 1) return answer;
  if (!save_port(settings_, port)) return 0;
  lstrcpynA(settings_.port, port, sizeof settings_.port);
  return port_.Open(settings_.port);
}

}  // namespace

extern "C" {

__declspec(dllexport) int DRV_ENTRY DrvStart(const DrvInitStruct* init, const DrvHostCallbacks* host) {
  if (!init || !host || the_driver) return 0;
  the_driver = new modbus_driver(*init, *host);
  if (!the_driver->start()) {
    delete the_driver;
    the_driver = nullptr;
    return 0;
  }
  return 1;
}

__declspec(dllexport) int DRV_ENTRY DrvWriteOutput(long type, long index, double value) {
  return the_driver ? the_driver->queue_output(type, index, value) : 0;
}

__declspec(dllexport) int DRV_ENTRY DrvSetup(HWND parent) { return the_driver ? the_driver->setup(parent) : 0; }

__declspec(dllexport) void DRV_ENTRY DrvStop() {
  delete the_driver;
  the_driver = nullptr;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    this_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
