// The worker threads of an open port: the event worker (the platform reports line events)
// and the polling worker (polling mode). Every notification runs on the worker's thread.
#include <algorithm>
#include <memory>

#include "sio/received_bytes_win32.h"
#include "sio/shared_word.h"
#include "string_ids.h"
#include "sys/handles.h"
#include "tambre32/sio.h"

using namespace tambre::sio;

namespace {

constexpr int kHandleWaits = 50;  // times 2 ms
constexpr DWORD kEventMask = EV_RXCHAR | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_BREAK | EV_ERR | EV_RING;
constexpr DWORD kStatusEvents = EV_CTS | EV_DSR | EV_ERR;
constexpr DWORD kModemEvents = EV_RLSD | EV_RING;
// Error bits that have a message of their own, and the ones no message covers.
constexpr DWORD kKnownErrors = 0x610F;
constexpr DWORD kPollInterval = 2;  // ms, polling mode
// The read-ahead of a platform without line events: the input queue size within limits,
// taken in chunks.
constexpr DWORD kMinReadAhead = 64;
constexpr DWORD kMaxReadAhead = 1 << 20;
constexpr std::size_t kReadChunk = 4096;
constexpr DWORD kRetryInterval = 1;        // ms, when the platform answered without waiting
constexpr DWORD kStopCheckInterval = 250;  // ms, a wait's limit when nothing else ends it

// Bytes the receive queue holds, read without waiting for more; `done` is the worker's
// idle read event.
DWORD read_waiting_bytes(HANDLE port, char* buffer, DWORD count, HANDLE done) {
  OVERLAPPED read{};
  read.hEvent = done;
  DWORD got = 0;
  if (!ReadFile(port, buffer, count, &got, &read)) {
    if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &read, &got, TRUE)) got = 0;
  }
  return got;
}

}  // namespace

bool CSio::_WaitForWorkerHandle() {
  for (int i = 0; i < kHandleWaits && shared_load(_worker) == nullptr; ++i) Sleep(2);
  return shared_load(_worker) != nullptr;
}

// The worker handle belongs to this thread. A port closed from one of its own notifications
// drops the handle without waiting; its worker then ends here, even when the port has been
// opened again (with a new worker) before it got this far.
bool CSio::_IsCurrentWorker() {
  const HANDLE worker = shared_load(_worker);
  return worker != nullptr && GetThreadId(worker) == GetCurrentThreadId();
}

void CSio::_ReportErrors(DWORD errors, int changes) {
  if (CSioStatusProc status = shared_load(_onStatus)) status(*this, static_cast<int>(errors) + changes);
  if (errors & CE_OVERRUN) MessageOut(IDS_SIO_OVERRUN);
  if (errors & CE_TXFULL) MessageOut(IDS_SIO_TX_FULL);
  if (errors & CE_RXOVER) MessageOut(IDS_SIO_RX_OVERFLOW);
  if (errors & CE_RXPARITY) MessageOut(IDS_SIO_PARITY);
  if (errors & CE_FRAME) MessageOut(IDS_SIO_FRAMING);
  if (!(errors & kKnownErrors) && errors != 0) MessageOut(IDS_SIO_LINE_ERROR, static_cast<unsigned long>(errors));
}

void CSio::_HandleEvents(DWORD events) {
  if (events & kStatusEvents) {
    DWORD errors = 0;
    ClearCommError(_port, &errors, nullptr);
    _ReportErrors(
        errors, ((events & EV_CTS) ? CSIO_STATUS_CTS_CHANGED : 0) + ((events & EV_DSR) ? CSIO_STATUS_DSR_CHANGED : 0));
  }
  if (events & kModemEvents) {
    if (CSioStatusProc status = shared_load(_onStatus)) {
      status(*this, ((events & EV_RLSD) ? CSIO_STATUS_CARRIER : 0) + ((events & EV_RING) ? CSIO_STATUS_RING : 0));
    }
  }
  if (events & EV_BREAK) ClearCommBreak(_port);
  if (events & EV_RXCHAR) {
    if (CSioNotifyProc receive = shared_load(_onReceive)) receive(*this);
  }
  if (events & EV_TXEMPTY) {
    if (CSioNotifyProc transmit_empty = shared_load(_onTransmitEmpty)) transmit_empty(*this);
  }
}

// A platform that refuses to wait for comm events (Wine on a pseudo-terminal answers
// ERROR_NOT_SUPPORTED) still gets its notifications: the worker waits in a read of its own,
// which ends the moment bytes come, keeps them for the driver's reads (received_bytes) and
// gives the receive notification. A finished write whose queue has run empty gives the
// transmit-empty one, and errors found in the error word are reported as usual. Modem line
// changes cannot be seen this way. `waitingAtStart` is what the receive queue held before
// Open returned: what came later is an arrival, also when it came before the wait began.
void CSio::_WatchQueues(DWORD waitingAtStart) {
  MessageOut(IDS_SIO_NO_LINE_EVENTS);
  const std::shared_ptr<received_bytes> received =
      received_bytes::open(_port, std::min<DWORD>(std::max<DWORD>(_inputQueue, kMinReadAhead), kMaxReadAhead));
  // From here on the driver's reads take from the store and no longer reach the platform:
  // the worker's own reads block until their bytes are there.
  COMMTIMEOUTS timeouts{};
  GetCommTimeouts(_port, &timeouts);
  timeouts.ReadIntervalTimeout = 0;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  SetCommTimeouts(_port, &timeouts);
  const tambre::sys::unique_event read_done;
  OVERLAPPED read{};
  char buffer[kReadChunk];
  bool reading = false;
  bool output_draining = false;  // a write went through, its queue not yet empty
  DWORD not_arrived = waitingAtStart;
  DWORD queued = 0;  // what the receive queue held when last looked at
  while (_IsCurrentWorker() && !(shared_load(_flags) & flag_stop)) {
    DWORD got = 0;
    bool read_refused = false;
    const DWORD room = static_cast<DWORD>(std::min(sizeof buffer, received->room()));
    if (!reading && room > 0 && queued > 0) {
      got = read_waiting_bytes(_port, buffer, std::min(room, queued), read_done.get());
    } else if (!reading && room > 0) {
      // One byte is waited for: the read ends the moment it comes.
      read = OVERLAPPED{};
      read.hEvent = read_done.get();
      if (ReadFile(_port, buffer, 1, &got, &read)) {
        read_refused = got == 0;  // a platform that answers at once: look again shortly
      } else if (GetLastError() == ERROR_IO_PENDING) {
        reading = true;
      } else {
        read_refused = true;
      }
    }
    HANDLE written = _writeRecord.hEvent;
    if (got == 0) {
      HANDLE waits[3] = {received->wake_event()};
      DWORD count = 1;
      if (reading) waits[count++] = read_done.get();
      if (written != nullptr && !output_draining) waits[count++] = written;
      const DWORD limit = (read_refused || output_draining) ? kRetryInterval : kStopCheckInterval;
      WaitForMultipleObjects(count, waits, FALSE, limit);
      if (reading && HasOverlappedIoCompleted(&read)) {
        reading = false;
        if (!GetOverlappedResult(_port, &read, &got, TRUE)) got = 0;  // cancelled by a flush
      }
    }
    if (got > 0) {
      received->append(buffer, got);
      const bool arrival = got > not_arrived;
      not_arrived = arrival ? 0 : not_arrived - got;
      CSioNotifyProc receive = shared_load(_onReceive);
      if (arrival && receive != nullptr) receive(*this);
      if (!_IsCurrentWorker()) return;  // closed from the notification: the port is gone
    }
    DWORD errors = 0;
    COMSTAT queues{};
    queued = 0;
    if (!ClearCommError(_port, &errors, &queues)) continue;
    queued = queues.cbInQue;
    if (errors != 0) _ReportErrors(errors, 0);
    // The write record's event is set when a write has gone through the platform.
    output_draining = written != nullptr && WaitForSingleObject(written, 0) == WAIT_OBJECT_0;
    if (output_draining && queues.cbOutQue == 0) {
      output_draining = false;
      ResetEvent(written);
      if (CSioNotifyProc transmit_empty = shared_load(_onTransmitEmpty)) transmit_empty(*this);
    }
  }
  if (reading) {
    CancelIoEx(_port, &read);
    DWORD unused = 0;
    GetOverlappedResult(_port, &read, &unused, TRUE);
  }
}

DWORD WINAPI CSio::_EventWorker(void* object) {
  CSio& self = *static_cast<CSio*>(object);
  self._WaitForWorkerHandle();
  const HANDLE port = self._port;
  SetCommMask(port, kEventMask);
  // Taken before Open returns (it waits for the running bit), so that bytes sent in answer
  // to the driver's first write count as arrivals on the queue-watching path.
  DWORD errors = 0;
  COMSTAT queues{};
  ClearCommError(port, &errors, &queues);
  const DWORD waiting_at_start = queues.cbInQue;
  set_flags(self._flags, flag_running);
  if (errors != 0) self._ReportErrors(errors, 0);

  const tambre::sys::unique_event signal;
  while (self._IsCurrentWorker()) {
    OVERLAPPED wait{};
    wait.hEvent = signal.get();
    DWORD events = 0;
    BOOL ok = WaitCommEvent(port, &events, &wait);
    DWORD error = ok ? 0 : GetLastError();
    if (error == ERROR_IO_PENDING) {
      DWORD unused = 0;
      ok = GetOverlappedResult(port, &wait, &unused, TRUE);
      error = ok ? 0 : GetLastError();
    }
    if (shared_load(self._flags) & flag_stop) break;
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) {
      self._WatchQueues(waiting_at_start);
      break;
    }
    if (!ok) {
      Sleep(1);  // a failing wait must not spin
      continue;
    }
    if (events != 0) self._HandleEvents(events);
  }
  CancelIo(port);
  if (self._IsCurrentWorker()) clear_flags(self._flags, flag_stop);  // the last act: Close relies on it
  return 0;
}

DWORD WINAPI CSio::_PollWorker(void* object) {
  CSio& self = *static_cast<CSio*>(object);
  self._WaitForWorkerHandle();
  set_flags(self._flags, flag_running);
  while (self._IsCurrentWorker()) {
    if (shared_load(self._flags) & flag_stop) break;
    CSioNotifyProc receive = shared_load(self._onReceive);
    // Without a receive notification nobody empties the queue: looking again at once
    // would only spin.
    if (receive != nullptr && self.GetQueState(1) > 0) {
      receive(self);
      continue;
    }
    Sleep(kPollInterval);
  }
  if (self._IsCurrentWorker()) clear_flags(self._flags, flag_stop);
  return 0;
}
