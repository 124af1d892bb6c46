#include "value_table.h"

#include <ctime>

#include "../modbus_driver/unix_seconds.h"

namespace {

const char* state_name(long state) {
  switch (state) {
    case DrvStatRun:
      return "Betrieb";
    case DrvStatAInFailure:
      return "Stoerung";
    default:
      return "-";
  }
}

}  // namespace

value_table::value_table(std::vector<channel_column> columns, FILE* record)
    : columns_(std::move(columns)), texts_(columns_.size(), "-"), record_(record) {}

void value_table::values(const DrvValue* values, int count) {
  const double delivered = unix_seconds_now();
  std::lock_guard<std::mutex> hold(lock_);
  for (int i = 0; i < count; ++i) {
    const DrvValue& v = values[i];
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (columns_[c].type == v.channelType && columns_[c].index == v.index) texts_[c] = v.text;
    }
    if (record_) {
      std::fprintf(record_, "value %ld %ld %.6g %.4f %.4f %.4f\n", v.channelType, v.index, v.value, v.requested,
                   v.answered, delivered);
    }
  }
  if (count > 0) delivery_.add(true, 0, 1000.0 * (delivered - values[0].requested));
  if (record_) std::fflush(record_);
}

void value_table::transaction(unsigned long tid, int success, int outcome, double duration_ms, double answered) {
  std::lock_guard<std::mutex> hold(lock_);
  polls_.add(success != 0, outcome, duration_ms);
  if (record_) {
    std::fprintf(record_, "transaction %lu %d %d %.3f %.4f\n", tid, success, outcome, duration_ms, answered);
    std::fflush(record_);
  }
}

void value_table::state(long state) {
  std::lock_guard<std::mutex> hold(lock_);
  state_ = state;
}

void value_table::print_header() const {
  std::printf("%-8s", "Zeit");
  for (const auto& c : columns_) std::printf(" %9.9s", c.name);
  std::printf("  %-8s %s\n", "Zustand", "Abfragen");
  std::fflush(stdout);
}

void value_table::print_row() {
  const std::time_t now = std::time(nullptr);
  char clock[16];
  std::strftime(clock, sizeof clock, "%H:%M:%S", std::localtime(&now));
  std::lock_guard<std::mutex> hold(lock_);
  std::printf("%-8s", clock);
  for (const auto& text : texts_) std::printf(" %9.9s", text.c_str());
  std::printf("  %-8s %ld/%ld\n", state_name(state_), polls_.successes(), polls_.count());
  std::fflush(stdout);
}

void value_table::print_summary(double seconds) {
  std::lock_guard<std::mutex> hold(lock_);
  std::printf("summary: polls %ld, successes %ld, failures %ld (time-outs %ld, bad checksums %ld)\n", polls_.count(),
              polls_.successes(), polls_.failures(), polls_.outcomes(DrvTimeout), polls_.outcomes(DrvBadChecksum));
  std::printf("summary: poll time mean %.2f ms, 99th percentile %.2f ms; %.1f polls/s\n", polls_.mean_ms(),
              polls_.p99_ms(), seconds > 0 ? polls_.count() / seconds : 0.0);
  std::printf("summary: poll to delivery mean %.2f ms, 99th percentile %.2f ms\n", delivery_.mean_ms(),
              delivery_.p99_ms());
  std::fflush(stdout);
}
