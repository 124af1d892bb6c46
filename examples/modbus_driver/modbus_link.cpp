#include "modbus_link.h"

#include "unix_seconds.h"

namespace {

double milliseconds_between(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

modbus_link::modbus_link() : complete_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  SetNotify(&modbus_link::on_receive, nullptr, nullptr);
}

modbus_link::~modbus_link() {
  Close();  // the worker must be gone before the event and the buffer
  CloseHandle(complete_);
}

void modbus_link::on_receive(CSio& port) { static_cast<modbus_link&>(port).collect(); }

void modbus_link::collect() {
  char piece[modbus_rtu::kMaxFrame];
  int n;
  while ((n = Read(piece, sizeof piece)) > 0) {
    std::lock_guard<std::mutex> hold(lock_);
    // Bytes nobody waits for (a late answer, noise) are dropped; so is an overlong frame.
    if (expected_ == 0) continue;
    const int room = static_cast<int>(sizeof answer_) - size_;
    const int take = n < room ? n : room;
    for (int i = 0; i < take; ++i) answer_[size_ + i] = static_cast<std::uint8_t>(piece[i]);
    size_ += take;
    if (modbus_rtu::answer_complete(answer_, size_, expected_)) SetEvent(complete_);
  }
}

DrvOutcome modbus_link::transact(const modbus_rtu::frame& request, std::uint16_t* registers, DWORD timeout_ms,
                                 timing& times) {
  // What is still in the queue belongs to an earlier request (a late answer).
  if (IsOpen()) Flush(1);
  {
    std::lock_guard<std::mutex> hold(lock_);
    size_ = 0;
    expected_ = modbus_rtu::answer_size(request);
    ResetEvent(complete_);
  }
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  times.requested = unix_seconds_now();
  const bool sent = IsOpen() && Write(reinterpret_cast<const char*>(request.bytes), request.size) == request.size;
  const bool whole = sent && WaitForSingleObject(complete_, timeout_ms) == WAIT_OBJECT_0;
  QueryPerformanceCounter(&end);
  times.answered = unix_seconds_now();
  times.duration_ms = milliseconds_between(start, end);

  std::uint8_t answer[modbus_rtu::kMaxFrame];
  int size;
  {
    std::lock_guard<std::mutex> hold(lock_);
    size = size_;
    for (int i = 0; i < size; ++i) answer[i] = answer_[i];
    expected_ = 0;
    size_ = 0;
  }
  if (!sent) return DrvNoPort;
  if (!whole) return DrvTimeout;
  switch (modbus_rtu::check_answer(request, answer, size, registers)) {
    case modbus_rtu::verdict::ok:
      return DrvOk;
    case modbus_rtu::verdict::bad_checksum:
      return DrvBadChecksum;
    case modbus_rtu::verdict::exception:
      return DrvException;
    default:
      return DrvMalformed;
  }
}
