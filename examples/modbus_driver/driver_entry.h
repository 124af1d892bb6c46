/* The entry points of a process driver module (".drv") and the host's value interface, as
   the host simulator and the Modbus driver use them. The host loads the module, resolves
   these names with GetProcAddress and calls them from one thread:

     DrvStart(init, host)    once: the init record (channel names, host query function)
                             and the host's callbacks; non-zero when the driver runs
     DrvWriteOutput(t, i, v) request to write output channel i of type t (ctAOut, ctDOut)
     DrvSetup(parent)        the driver's setup entry (port settings dialog)
     DrvStop()               ends the driver: polling, port and automation object

   The callbacks may be called on any of the driver's threads. */
#pragma once

#include <windows.h>

#include "tambre32/codriver.h"

#if defined(_WIN32) && !defined(_WIN64)
#define DRV_ENTRY __stdcall
#else
#define DRV_ENTRY
#endif

#define DRV_VALUE_TEXT_SIZE 24

/* One channel's value from one poll. Times are seconds since 1970 (UTC) with
   milliseconds: the request left at `requested`, the answer was complete at `answered`. */
typedef struct DrvValue {
  long channelType; /* ctAIn, ctDIn, ... */
  long index;       /* from 0 within the type */
  double value;
  char text[DRV_VALUE_TEXT_SIZE]; /* the value as the driver formats it */
  double requested;
  double answered;
} DrvValue;

/* Outcome of a transaction, the extra information of TransactionCompleted. */
enum DrvOutcome { DrvOk = 0, DrvTimeout = 1, DrvBadChecksum = 2, DrvException = 3, DrvMalformed = 4, DrvNoPort = 5 };

typedef struct DrvHostCallbacks {
  void* context;
  /* The values a successful poll produced. */
  void(DRV_ENTRY* values)(void* context, const DrvValue* values, int count);
  /* Every transaction, as the driver has just reported it to its event sinks; `answered`
     as in DrvValue. */
  void(DRV_ENTRY* transaction)(void* context, unsigned long tid, int success, int outcome, double duration_ms,
                               double answered);
  /* The driver's state (a DriverState value) changed. */
  void(DRV_ENTRY* state)(void* context, long state);
  /* A message for the operator (the library's message output and the port's). */
  void(DRV_ENTRY* message)(void* context, const char* text);
} DrvHostCallbacks;

typedef int(DRV_ENTRY* DrvStartProc)(const DrvInitStruct* init, const DrvHostCallbacks* host);
typedef int(DRV_ENTRY* DrvWriteOutputProc)(long channelType, long index, double value);
typedef int(DRV_ENTRY* DrvSetupProc)(HWND parent);
typedef void(DRV_ENTRY* DrvStopProc)(void);
