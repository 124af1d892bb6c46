/* CSio: one serial port, opened from a configuration string such as "COM2:9600,N,8,1",
   with one worker thread per open port that calls the driver back. Drivers may derive
   from it: its main operations are virtual and its message output is protected. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

class CSio;

/* Called on the port's worker thread. */
typedef void (*CSioMessageProc)(const char* text);
typedef void (*CSioNotifyProc)(CSio& port);
typedef void (*CSioStatusProc)(CSio& port, int status);

/* Bits of the status notification beside the communication error word. */
#define CSIO_STATUS_CTS_CHANGED 0x2000
#define CSIO_STATUS_DSR_CHANGED 0x4000
#define CSIO_STATUS_CARRIER 0x10000
#define CSIO_STATUS_RING 0x20000

/* Option of SetupDialog: no dialog, the buffer receives the default string. */
#define CSIO_SETUP_DEFAULT 0x1000

/* A serial port opened from one configuration string such as "COM2:9600,N,8,1", with a
   worker thread that calls the driver back when data arrives, the transmit queue empties
   or the line status changes. */
class TAMBRE_API CSio {
 public:
  /* A closed port with default queue sizes. */
  CSio();
  /* The copy is a closed port with the source's settings and functions. */
  CSio(const CSio& other);
  /* Copies everything, handles included: the target becomes a second view of the same
     open port; close or destroy only one of the two while it is open. */
  CSio& operator=(const CSio& other);
  virtual ~CSio();

  /* Null switches a notification off; may be called before or after Open. */
  virtual void SetNotify(CSioNotifyProc receive, CSioNotifyProc transmit_empty, CSioStatusProc status);
  virtual void SetMessageOut(CSioMessageProc output);
  /* Queue sizes for the next Open. */
  virtual void SetQue(unsigned input_size, unsigned output_size);
  /* 1 success, 0 failure (the object is then closed). */
  virtual int Open(const char* config, int unused = 0);
  /* Stops the worker (waiting at most 4000 ms) and closes the port; always 0. */
  virtual int Close();
  /* 2: discard the transmit queue, 1: the receive queue, 3: both. */
  virtual void Flush(int which);
  virtual int ChangeBaudrate(long baudrate);
  virtual HANDLE GetHandle();
  /* Bytes in the input queue (bit 0 of which set) or the output queue; -1 when closed. */
  virtual int GetQueState(int which);
  virtual int IsOpen();
  /* count on success (pending counts), 0 for count < 1, -1 when the platform refuses. */
  virtual int Write(const char* buffer, int count);
  /* Bytes already received, at most count; never waits. */
  virtual int Read(char* buffer, int count);
  virtual CSio& operator<<(char c);
  virtual CSio& operator<<(const char* text);
  virtual CSio& operator>>(char& c);
  /* Reads up to the input queue size and terminates: the buffer must hold that plus one. */
  virtual CSio& operator>>(char* buffer);
  /* 0 null buffer, 1 confirmed (or CSIO_SETUP_DEFAULT), 2 cancelled. */
  virtual int SetupDialog(HWND parent, char* config, unsigned options);

  /* Clears the port's error state (by reading it); false when closed. */
  bool ClearErrors();
  /* Ends a break on the transmit line; false when closed. */
  bool ClearBreak();
  /* Discards both queues, clears the errors and ends a break; false when closed. */
  bool CleanIO();
  /* Polling mode: from the next Open on (and in Read and Write at once). */
  void SetNoEventMode(int on);
  /* EscapeCommFunction's codes: 1 XOFF, 2 XON, 3/4 set/clear RTS, 5/6 set/clear DTR, 8/9 break. */
  int SetLineStatus(int function);
  /* Modem status (0x10 CTS, 0x20 DSR, 0x40 ring, 0x80 carrier) AND mask; -1 when closed. */
  int GetLineStatus(int mask);
  int SetAbortOnError(int on);
  /* One field of a configuration string (0 port, 1 baud, 2 parity, 3 data bits, 4 stop
     bits, 5 handshake); -1 when invalid. Reads the text only. */
  int ScanComstr(const char* config, int selector);

 protected:
  /* String `id` of the library with the port number written over its "COM   " head,
     formatted with the further arguments and passed to the message output. */
  void MessageOut(unsigned id, ...);

 private:
  static DWORD WINAPI _EventWorker(void* self);
  static DWORD WINAPI _PollWorker(void* self);
  void _WatchQueues(DWORD waitingAtStart);
  bool _WaitForWorkerHandle();
  bool _IsCurrentWorker();
  void _HandleEvents(DWORD events);
  void _ReportErrors(DWORD errors, int changes);

  HANDLE _port;
  CSioMessageProc _messageOut;
  CSioNotifyProc _onReceive;
  CSioNotifyProc _onTransmitEmpty;
  CSioStatusProc _onStatus;
  DWORD _inputQueue;
  DWORD _outputQueue;
  HANDLE _worker;
  /* bit 0 stop request, bit 1 worker running, bit 2 polling mode, bits 24-31 port number */
  DWORD _flags;
  OVERLAPPED _readRecord;
  OVERLAPPED _writeRecord;
};

/* Marks every serial port COMn the system reports (1-255) with 0xFF in ports[n], every
   other byte 0. ports holds 256 bytes. 0 (all bytes 0) when the system's port list
   cannot be opened, or for a null array. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) EnumCOMPorts(unsigned char* ports);
