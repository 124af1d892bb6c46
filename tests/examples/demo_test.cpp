// The demo's scene: the host simulator's Modbus driver polls the simulated pumping station over a pty pair, the
// event client and Wine's script host attach by ProgID; what the host received is checked against the instrument.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "field_instrument/pump_station_model.h"
#include "modbus_driver/unix_seconds.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/pty_pair.h"
#include "support/rpc_service.h"
#include "tambre32/settings.h"

namespace {

using tambre::test::child_process;

constexpr DWORD kLineWait = 30000;  // ms for any one line of a child
constexpr int kOutcomeTimeout = 1;
constexpr int kOutcomeBadChecksum = 2;

std::string program_directory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path);
  return text.substr(0, text.rfind('\\') + 1);
}

struct event {
  long tid = -1;  // -1: no TransactionCompleted line
  int success = 0;
  long extra = 0;
  double arrived = 0;
};

// What the host simulator wrote down: delivered values and transactions.
struct record {
  struct value {
    long type, index;
    double value, requested, answered;
  };
  struct transaction {
    int success, outcome;
  };
  std::vector<value> values;
  std::vector<transaction> transactions;

  explicit record(const std::string& path) {
    std::ifstream file(path);
    std::string kind;
    double ignored;
    while (file >> kind) {
      if (kind == "value") {
        value v{};
        file >> v.type >> v.index >> v.value >> v.requested >> v.answered >> ignored;
        values.push_back(v);
      } else if (kind == "transaction") {
        transaction t{};
        file >> ignored >> t.success >> t.outcome >> ignored >> ignored;
        transactions.push_back(t);
      }
    }
  }
};

// The register behind a delivered channel, scaled as the driver scales it.
bool expected_value(long type, long index, std::uint32_t second, double& out) {
  std::uint16_t registers[pump_station::kInputCount];
  pump_station::input_registers(second, registers);
  if (type == 0 && index <= 2) {
    out = registers[index] / (index == 0 ? 100.0 : 10.0);
  } else if (type == 3 && index <= 2) {
    out = index == 2 ? registers[4] : (registers[3] >> index) & 1;
  } else {
    return false;
  }
  return true;
}

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Host and event client; a scene that failed half-way leaves no child behind.
class scene {
 public:
  scene() : instrument_(pair_.far_unix_path(), "") {
    // This program's buffered output has been seen lost under Wine once the children ran.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  }
  ~scene() {
    for (const auto* child : {host_.get(), events_.get()}) {
      // Only a running child: Wine reads a null handle as this process.
      if (child && child->started() && WaitForSingleObject(child->handle(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(child->handle(), 1);
      }
    }
  }

  // Starts host and event client; false with a message in `error`.
  bool start(std::string& error) {
    if (!pair_.ready()) return error = "pty pair: " + pair_.error(), false;
    if (!instrument_.ready()) return error = "instrument: " + instrument_.error(), false;
    if (!tambre::test::ensure_rpc_service_running()) return error = "no RPC service", false;
    // A registration left by someone else must not decide the outcome: the driver writes its own.
    for (const char* key : {"ProcessDriver.Server", "TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}",
                            "Interface\\{4ACFBBD9-C512-4452-A1B0-645A66504000}"}) {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    }
    WriteDrvIniInt("ModbusRTU", "TimeoutMs", 200);
    DeleteFileA(journal_path().c_str());
    WritePrivateProfileStringA("Modbus", "Port", pair_.near_config("9600,N,8,1").c_str(),
                               (program_directory() + "modbus.cfg").c_str());
    host_ = std::make_unique<child_process>(
        "host_sim.exe --driver modbus.drv --quiet --cycle-ms 200 --record " + record_path_, true, true);
    std::string running;
    do {
      running = host_->read_line(kLineWait);
    } while (running.rfind("Meldung: ", 0) == 0);  // the port's own messages may come first
    if (running.rfind("host_sim: driver running", 0) != 0) return error = "host: " + running, false;
    // The first activation across processes has been seen to fail once on a loaded machine.
    for (int attempt = 1; attempt <= 3; ++attempt) {
      events_ = std::make_unique<child_process>("event_client.exe --times", true);
      const std::string subscribed = events_->read_line(kLineWait);
      if (subscribed.rfind("subscribed ", 0) == 0) return true;
      error += "event client attempt " + std::to_string(attempt) + ": " + subscribed + "\n";
      events_->wait(kLineWait);
    }
    return false;
  }

  // Reads events until `done` holds for one; false when a line that is no event comes first.
  template <typename Condition>
  bool wait_for(Condition done) {
    for (;;) {
      event e;
      last_line = events_->read_line(kLineWait);
      char name[64];
      std::sscanf(last_line.c_str(), "TransactionCompleted %63s %ld %d %ld at %lf", name, &e.tid, &e.success, &e.extra,
                  &e.arrived);
      if (e.tid < 0) return false;
      seen.push_back(e);
      if (done(e)) return true;
    }
  }

  // Stops the host: the client's events end with "Terminate"; the host's output and exit code.
  DWORD finish(std::string& output) {
    host_->send("quit");
    wait_for([](const event&) { return false; });
    output = host_->output();
    events_->wait(kLineWait);
    return host_->wait(kLineWait);
  }

  void send(const std::string& command) { host_->send(command); }
  tambre::test::pty_pair& pair() { return pair_; }
  tambre::test::field_instrument_process& instrument() { return instrument_; }
  std::string journal_path() const { return program_directory() + "modbus.log"; }
  const std::string record_path_ =
      program_directory() + "demo_record_" + std::to_string(GetCurrentProcessId()) + ".txt";
  std::vector<event> seen;
  std::string last_line;

 private:
  tambre::test::pty_pair pair_;
  tambre::test::field_instrument_process instrument_;
  std::unique_ptr<child_process> host_, events_;
};

// Like the event client's, the script host's first activation across processes has been
// seen to fail on Wine ("can't create object"): it is started again, three times at most.
std::string run_script_client() {
  std::string output;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    child_process client("cscript.exe //nologo \"" TAMBRE_SCRIPT_CLIENT "\"", true);
    output = client.output();
    client.wait(kLineWait);
    if (output.rfind("client error", 0) != 0) break;
  }
  return output;
}

// One run of the demo: normal polls and writes, the instrument falling silent and coming
// back, answers with a bad checksum, then the line cut and the host stopped.
TEST(Demo, PumpStationThroughSilenceBadChecksumsAndACutLine) {
  scene s;
  std::string error;
  ASSERT_TRUE(s.start(error)) << error;
  EXPECT_EQ(run_script_client(),
            "Name=ModbusRTU.Pumpwerk\nFileName=modbus.drv\nProjectName=Pumpwerk Nord\nProjectID=3\nDriverState=5\n"
            "CycleTime=200\nAIn(4): Pegel Zulauf Ablauf Sollwert\nAOut(1): Sollwert\n"
            "DIn(3): Pumpe1 Pumpe2 Hochalarm\nDOut(2): Freigabe1 Freigabe2\n");

  ASSERT_TRUE(s.wait_for([](const event& e) { return e.tid >= 5; }));
  const double sent = unix_seconds_now();
  s.send("write 1 0 2.8");  // set point 2.80 m
  s.send("write 4 1 0");    // pump 2 not released
  // Events already on their way are older: count only those that arrived after the writes.
  int later = 0;
  ASSERT_TRUE(s.wait_for([&](const event& e) { return e.arrived > sent && e.success && ++later == 15; }));

  // The instrument falls silent, comes back, then answers with bad checksums.
  const auto fails = [&](const char* mode, int outcome, int count) {
    s.instrument().set_mode(mode);
    int failed = 0;
    return s.wait_for([&](const event& e) {
      if (e.success) return false;
      EXPECT_EQ(e.extra, outcome);
      return ++failed == count;
    });
  };
  ASSERT_TRUE(fails("silent", kOutcomeTimeout, 2));
  s.instrument().set_mode("normal");
  const double switched = unix_seconds_now();
  ASSERT_TRUE(s.wait_for([&](const event& e) { return e.arrived >= switched && e.success; }));
  ASSERT_TRUE(fails("badcrc", kOutcomeBadChecksum, 3));
  s.pair().stop();  // socat ends: the port's far side is gone
  int cut = 0;
  ASSERT_TRUE(s.wait_for([&](const event& e) { return !e.success && ++cut == 2; }));
  std::string output;
  EXPECT_EQ(s.finish(output), 0u) << output;
  EXPECT_EQ(s.last_line, "Terminate");
  const record r(s.record_path_);
  DeleteFileA(s.record_path_.c_str());

  // The host's record and the event client agree on every transaction.
  ASSERT_FALSE(s.seen.empty());
  ASSERT_GE(r.transactions.size(), static_cast<std::size_t>(s.seen.back().tid));
  long successes = 0, timed_out = 0, bad_checksums = 0;
  for (const auto& t : r.transactions) {
    successes += t.success;
    timed_out += t.outcome == kOutcomeTimeout;
    bad_checksums += t.outcome == kOutcomeBadChecksum;
  }
  for (std::size_t i = 0; i < s.seen.size(); ++i) {
    const event& e = s.seen[i];
    EXPECT_EQ(e.tid, s.seen.front().tid + static_cast<long>(i)) << "the client saw every transaction";
    EXPECT_EQ(e.success != 0, r.transactions[e.tid - 1].success == 1) << e.tid;
    EXPECT_EQ(e.extra, r.transactions[e.tid - 1].outcome) << e.tid;
  }

  // Every delivered value is the instrument's at a second between request and answer.
  int checked = 0;
  for (const auto& v : r.values) {
    double expected;
    const auto first = static_cast<std::uint32_t>(std::floor(v.requested));
    if (!expected_value(v.type, v.index, first, expected)) continue;
    bool matches = false;
    for (std::uint32_t second = first; second <= static_cast<std::uint32_t>(std::floor(v.answered)); ++second) {
      expected_value(v.type, v.index, second, expected);
      matches = matches || std::fabs(expected - v.value) < 1e-9;
    }
    EXPECT_TRUE(matches) << "type " << v.type << " index " << v.index << " value " << v.value << " at " << first;
    ++checked;
  }
  EXPECT_GE(checked, 6) << "at least one poll's six checked channels";
  // The writes arrived: the set point and release bits read back.
  const auto last_of = [&](long type, long index) {
    double value = -1;
    for (const auto& v : r.values) value = v.type == type && v.index == index ? v.value : value;
    return value;
  };
  EXPECT_DOUBLE_EQ(last_of(0, 3), 2.8) << output;
  EXPECT_EQ(last_of(4, 0), 1.0);
  EXPECT_EQ(last_of(4, 1), 0.0);

  // Each loss is journaled and told to the operator once, with its reason; the stop sums up.
  const std::string journal = tambre::test::file_contents(s.journal_path());
  EXPECT_EQ(occurrences(journal, ": Verbindung hergestellt]\r\n"), 1);
  EXPECT_EQ(occurrences(journal, ": Verbindung wiederhergestellt]\r\n"), 1);
  EXPECT_EQ(occurrences(journal, ": Verbindung unterbrochen]"), 2);
  for (const std::string reason : {"Zeitueberschreitung", "Pruefsummenfehler"}) {
    EXPECT_EQ(occurrences(journal, ": Verbindung unterbrochen]\r\n" + reason), 1) << journal;
    EXPECT_EQ(occurrences(output, "unterbrochen (" + reason + ")"), 1) << output;
  }
  const std::string summary = ": Stopp]\r\nAbfragen " + std::to_string(r.transactions.size()) + ", erfolgreich " +
                              std::to_string(successes) + ", Zeitueberschreitungen " + std::to_string(timed_out) +
                              ", Pruefsummenfehler " + std::to_string(bad_checksums);
  ASSERT_NE(journal.find(summary), std::string::npos) << journal;
  EXPECT_EQ(journal.find("[#", journal.find(summary)), std::string::npos) << "the last entry";
}

}  // namespace
