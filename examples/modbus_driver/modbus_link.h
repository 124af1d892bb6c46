#pragma once
// The serial line to the instrument: a CSio whose receive notification (on the port's
// worker thread) collects the answer of the one transaction in flight.
#include <windows.h>

#include <cstdint>
#include <mutex>

#include "driver_entry.h"
#include "rtu_frame.h"
#include "tambre32/sio.h"

class modbus_link : public CSio {
 public:
  struct timing {
    double requested = 0;  // seconds since 1970, when the request was queued
    double answered = 0;   // when the answer was complete (or the wait ended)
    double duration_ms = 0;
  };

  modbus_link();
  ~modbus_link() override;
  modbus_link(const modbus_link&) = delete;
  modbus_link& operator=(const modbus_link&) = delete;

  // Sends `request` and waits at most `timeout_ms` for its answer. A read's registers go
  // to `registers` only when the answer passed every check.
  DrvOutcome transact(const modbus_rtu::frame& request, std::uint16_t* registers, DWORD timeout_ms, timing& times);

 private:
  static void on_receive(CSio& port);
  void collect();

  std::mutex lock_;
  std::uint8_t answer_[modbus_rtu::kMaxFrame];
  int size_ = 0;
  int expected_ = 0;  // 0: no transaction waits
  HANDLE complete_;   // auto-reset: set when the answer is whole
};
