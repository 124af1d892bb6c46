#pragma once
// What the driver delivers, as the host keeps it: the latest text of every channel (printed
// as one row of the live table), the transactions with their durations, and optionally a
// record file with one line per delivered value and per transaction:
//   value <type> <index> <value> <requested> <answered> <delivered>
//   transaction <tid> <success> <outcome> <duration-ms> <answered>
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "../modbus_driver/driver_entry.h"
#include "../modbus_driver/poll_statistics.h"

struct channel_column {
  long type;
  long index;
  const char* name;
};

class value_table {
 public:
  value_table(std::vector<channel_column> columns, FILE* record);

  void values(const DrvValue* values, int count);
  void transaction(unsigned long tid, int success, int outcome, double duration_ms, double answered);
  void state(long state);

  void print_header() const;
  void print_row();
  // Counts, mean and 99th percentile of the poll time, polls per second over `seconds`,
  // and the time from a poll's first request to its values' arrival here.
  void print_summary(double seconds);

 private:
  std::mutex lock_;
  std::vector<channel_column> columns_;
  std::vector<std::string> texts_;
  FILE* record_;
  poll_statistics polls_;
  poll_statistics delivery_;  // ms from the poll's first request to the values' arrival here
  long state_ = 0;
};
