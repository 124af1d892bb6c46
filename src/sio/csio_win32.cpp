// CSio: opening, configuring and closing a port, reads and writes, the line operations.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "sio/comstr.h"
#include "sio/line_settings.h"
#include "sio/received_bytes_win32.h"
#include "sio/setup_dialog_win32.h"
#include "sio/shared_word.h"
#include "sys/handles.h"
#include "sys/platform.h"
#include "tambre32/sio.h"

using namespace tambre::sio;

#if defined(_WIN32) && !defined(_WIN64)
// The object as 32-bit drivers derive from it: table pointer, eight words, the flag word
// and the two five-word records.
static_assert(sizeof(CSio) == 80, "CSio layout");
#endif

namespace {

constexpr DWORD kDefaultQueue = 1024;
constexpr DWORD kWorkerStack = 8192;
constexpr int kStartWaits = 250;  // times 1 ms
constexpr DWORD kStopWait = 4000;
constexpr std::size_t kMessageSize = 256;  // 255 characters and the terminator
constexpr DWORD kQueuedReadWait = 100;     // ms, for a queued read of bytes already there

bool input_queue_holds_bytes(HANDLE port) {
  DWORD errors = 0;
  COMSTAT queues{};
  return ClearCommError(port, &errors, &queues) && queues.cbInQue > 0;
}

}  // namespace

CSio::CSio()
    : _port(nullptr),
      _messageOut(nullptr),
      _onReceive(nullptr),
      _onTransmitEmpty(nullptr),
      _onStatus(nullptr),
      _inputQueue(kDefaultQueue),
      _outputQueue(kDefaultQueue),
      _worker(nullptr),
      _flags(0),
      _readRecord{},
      _writeRecord{} {}

CSio::CSio(const CSio& other)
    : _port(nullptr),
      _messageOut(other._messageOut),
      _onReceive(other._onReceive),
      _onTransmitEmpty(other._onTransmitEmpty),
      _onStatus(other._onStatus),
      _inputQueue(other._inputQueue),
      _outputQueue(other._outputQueue),
      _worker(nullptr),
      _flags(shared_load(other._flags)),
      _readRecord(other._readRecord),
      _writeRecord(other._writeRecord) {
  // The source's events stay the source's: the copy never releases them.
  _readRecord.hEvent = nullptr;
  _writeRecord.hEvent = nullptr;
}

CSio& CSio::operator=(const CSio& other) {
  _port = other._port;
  _messageOut = other._messageOut;
  _onReceive = other._onReceive;
  _onTransmitEmpty = other._onTransmitEmpty;
  _onStatus = other._onStatus;
  _inputQueue = other._inputQueue;
  _outputQueue = other._outputQueue;
  _worker = other._worker;
  _flags = shared_load(other._flags);
  _readRecord = other._readRecord;
  _writeRecord = other._writeRecord;
  return *this;
}

CSio::~CSio() {
  if (_port != nullptr) Close();
}

void CSio::SetNotify(CSioNotifyProc receive, CSioNotifyProc transmit_empty, CSioStatusProc status) {
  shared_store(_onReceive, receive);
  shared_store(_onTransmitEmpty, transmit_empty);
  shared_store(_onStatus, status);
}

void CSio::SetMessageOut(CSioMessageProc output) { shared_store(_messageOut, output); }

void CSio::SetQue(unsigned input_size, unsigned output_size) {
  _inputQueue = input_size;
  _outputQueue = output_size;
}

int CSio::Open(const char* config, int) {
  Close();
  const open_settings settings = read_open_settings(config);
  _flags = (shared_load(_flags) & ~static_cast<DWORD>(flag_port_mask)) |
           (static_cast<DWORD>(settings.port_number) << flag_port_shift);
  const bool polling = (shared_load(_flags) & flag_polling) != 0;

  tambre::sys::unique_file port(CreateFileA(settings.device_path, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | (polling ? 0 : FILE_FLAG_OVERLAPPED),
                                            nullptr));
  if (!port || port.get() == nullptr) {
    port.release();
    clear_flags(_flags, flag_port_mask);
    return 0;
  }

  DCB dcb = line_settings(settings);
  COMMTIMEOUTS timeouts = line_timeouts(settings);
  // Only the line settings decide; a port that takes them gets the rest as far as it can.
  if (!SetCommState(port.get(), &dcb)) {
    clear_flags(_flags, flag_port_mask);
    return 0;
  }
  SetCommTimeouts(port.get(), &timeouts);
  SetupComm(port.get(), _inputQueue, _outputQueue);
  _port = port.release();

  clear_flags(_flags, flag_stop);
  _readRecord = OVERLAPPED{};
  _writeRecord = OVERLAPPED{};
  _readRecord.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  _writeRecord.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (_readRecord.hEvent == nullptr || _writeRecord.hEvent == nullptr) {
    Close();
    return 0;
  }

  DWORD errors = 0;
  ClearCommError(_port, &errors, nullptr);
  ClearCommBreak(_port);
  if (dcb.fDtrControl == DTR_CONTROL_ENABLE) EscapeCommFunction(_port, SETDTR);
  if (dcb.fRtsControl == RTS_CONTROL_ENABLE) EscapeCommFunction(_port, SETRTS);

  clear_flags(_flags, flag_running);
  HANDLE worker = CreateThread(nullptr, kWorkerStack, polling ? _PollWorker : _EventWorker, this, 0, nullptr);
  if (worker == nullptr) {
    Close();
    return 0;
  }
  shared_store(_worker, worker);
  // A worker that ends before it runs (no memory for its state) ends the wait at once.
  for (int i = 0; i < kStartWaits && !(shared_load(_flags) & flag_running); ++i) {
    if (WaitForSingleObject(worker, 1) != WAIT_TIMEOUT) break;
  }
  return 1;
}

int CSio::Close() {
  if (HANDLE worker = shared_load(_worker)) {
    set_flags(_flags, flag_stop);
    if (_port != nullptr) {
      SetCommMask(_port, 0);  // ends the worker's wait for events
      received_bytes::wake(_port);
    }
    // Closed from one of its own notifications, the worker cannot be waited for; it ends
    // by itself once it finds its handle gone.
    if (GetThreadId(worker) != GetCurrentThreadId()) {
      SetThreadPriority(worker, THREAD_PRIORITY_ABOVE_NORMAL);
      WaitForSingleObject(worker, kStopWait);
      if (shared_load(_flags) & flag_stop) TerminateThread(worker, 1);
    }
    CloseHandle(worker);
    shared_store(_worker, static_cast<HANDLE>(nullptr));
  }
  if (_port != nullptr) {
    Flush(2);
    received_bytes::forget(_port);
    CloseHandle(_port);
    _port = nullptr;
  }
  for (OVERLAPPED* record : {&_readRecord, &_writeRecord}) {
    if (record->hEvent != nullptr) CloseHandle(record->hEvent);
    *record = OVERLAPPED{};
  }
  clear_flags(_flags, flag_port_mask | flag_stop | flag_running);
  return 0;
}

void CSio::Flush(int which) {
  if (_port == nullptr) return;
  if (which & 2) PurgeComm(_port, PURGE_TXABORT | PURGE_TXCLEAR);
  if (which & 1) {
    PurgeComm(_port, PURGE_RXABORT | PURGE_RXCLEAR);
    received_bytes::discard(_port);
  }
}

int CSio::ChangeBaudrate(long baudrate) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(_port, &dcb)) return 0;
  dcb.BaudRate = static_cast<DWORD>(baudrate);
  if (!SetCommState(_port, &dcb)) return 0;
  Flush(3);
  return 1;
}

HANDLE CSio::GetHandle() { return _port; }

int CSio::GetQueState(int which) {
  if (_port == nullptr) return -1;
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(_port, &errors, &status)) return -1;
  if (!(which & 1)) return static_cast<int>(status.cbOutQue);
  DWORD read_ahead = 0;
  received_bytes::count(_port, read_ahead);
  return static_cast<int>(status.cbInQue + read_ahead);
}

int CSio::IsOpen() { return _port != nullptr ? 1 : 0; }

int CSio::Write(const char* buffer, int count) {
  if (count < 1 || buffer == nullptr) return 0;
  DWORD written = 0;
  BOOL ok;
  if (shared_load(_flags) & flag_polling) {
    ok = WriteFile(_port, buffer, static_cast<DWORD>(count), &written, nullptr);
  } else {
    // The record may still carry the previous write; it is reused only once that one is
    // through, so the platform never completes two writes into one record.
    if (_writeRecord.hEvent != nullptr && !HasOverlappedIoCompleted(&_writeRecord)) {
      DWORD previous = 0;
      GetOverlappedResult(_port, &_writeRecord, &previous, TRUE);
    }
    ok = WriteFile(_port, buffer, static_cast<DWORD>(count), &written, &_writeRecord);
  }
  if (!ok) {
    const DWORD error = GetLastError();
    if (error != ERROR_OPERATION_ABORTED && error != ERROR_IO_INCOMPLETE && error != ERROR_IO_PENDING) {
      // Refused at once (a line whose far side is gone): nothing is in flight, yet the
      // record may still read as pending, and the next write would wait for it for ever.
      _writeRecord.Internal = 0;
      return -1;
    }
  }
  return count;
}

int CSio::Read(char* buffer, int count) {
  if (count < 1 || buffer == nullptr) return 0;
  DWORD read = 0;
  if (shared_load(_flags) & flag_polling) {
    ClearCommBreak(_port);
    return ReadFile(_port, buffer, static_cast<DWORD>(count), &read, nullptr) ? static_cast<int>(read) : 0;
  }
  // The worker of a port without line events reads ahead: its bytes come first. Bytes the
  // queue still holds are moments from its store; another thread waits that long for them,
  // the worker itself (in a notification) would only wait for itself.
  int taken = 0;
  if (received_bytes::take(_port, buffer, count, taken, 0)) {
    const ULONGLONG deadline = GetTickCount64() + kQueuedReadWait;
    while (taken < count && !_IsCurrentWorker() && input_queue_holds_bytes(_port)) {
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) break;
      int more = 0;
      received_bytes::take(_port, buffer + taken, count - taken, more, static_cast<DWORD>(deadline - now));
      taken += more;
    }
    return taken;
  }
  if (ReadFile(_port, buffer, static_cast<DWORD>(count), &read, &_readRecord)) return static_cast<int>(read);
  if (GetLastError() != ERROR_IO_PENDING) return 0;
  // The read interval time-out lets Windows complete the read at once with what is there.
  // A platform that always queues the read (Wine) completes it as soon as it looks at the
  // port when bytes wait, and keeps it pending until bytes come when none do: the read is
  // then cancelled, and whatever it took so far is the result.
  const bool bytes_wait = input_queue_holds_bytes(_port);
  if (WaitForSingleObject(_readRecord.hEvent, bytes_wait ? kQueuedReadWait : 0) != WAIT_OBJECT_0) {
    CancelIoEx(_port, &_readRecord);
  }
  if (!GetOverlappedResult(_port, &_readRecord, &read, TRUE)) return 0;
  return static_cast<int>(read);
}

CSio& CSio::operator<<(char c) {
  Write(&c, 1);
  return *this;
}

CSio& CSio::operator<<(const char* text) {
  if (text != nullptr) Write(text, static_cast<int>(std::strlen(text)));
  return *this;
}

CSio& CSio::operator>>(char& c) {
  c = 0;
  Read(&c, 1);
  return *this;
}

CSio& CSio::operator>>(char* buffer) {
  if (buffer == nullptr) return *this;
  const int capacity = _inputQueue > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(_inputQueue);
  const int n = Read(buffer, capacity);
  buffer[n > 0 ? n : 0] = '\0';
  return *this;
}

int CSio::SetupDialog(HWND parent, char* config, unsigned options) {
  if (config == nullptr) return 0;
  if (options & CSIO_SETUP_DEFAULT) {
    std::strcpy(config, default_comstr);
    return 1;
  }
  return tambre::sio::run_setup_dialog(parent, config, options);
}

bool CSio::ClearErrors() { return GetQueState(0) != -1; }

bool CSio::ClearBreak() { return _port != nullptr && ClearCommBreak(_port); }

bool CSio::CleanIO() {
  Flush(3);
  if (!ClearErrors()) return false;
  return ClearBreak();
}

void CSio::SetNoEventMode(int on) {
  if (on) {
    set_flags(_flags, flag_polling);
  } else {
    clear_flags(_flags, flag_polling);
  }
}

int CSio::SetLineStatus(int function) { return EscapeCommFunction(_port, static_cast<DWORD>(function)); }

int CSio::GetLineStatus(int mask) {
  if (_port == nullptr) return -1;
  DWORD status = 0;
  if (!GetCommModemStatus(_port, &status)) return -1;
  return static_cast<int>(status) & mask;
}

int CSio::SetAbortOnError(int on) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(_port, &dcb)) return 0;
  dcb.fAbortOnError = on ? 1 : 0;
  return SetCommState(_port, &dcb);
}

int CSio::ScanComstr(const char* config, int selector) { return scan_comstr(config, selector); }

void CSio::MessageOut(unsigned id, ...) {
  const CSioMessageProc output = shared_load(_messageOut);
  if (output == nullptr) return;
  char format[kMessageSize];
  const std::size_t length = tambre::sys::load_library_string(id, format, sizeof format);
  // The port number (read as a signed byte) replaces the blanks behind "COM".
  char digits[8];
  const int port = static_cast<signed char>(shared_load(_flags) >> flag_port_shift);
  const int n = std::snprintf(digits, sizeof digits, "%d", port);
  for (int i = 0; i < n && 3 + static_cast<std::size_t>(i) < length; ++i) format[3 + i] = digits[i];

  char text[kMessageSize];
  va_list args;
  va_start(args, id);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  output(text);
}
