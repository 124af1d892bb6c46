/* Master/standby redundancy of two machines over UDP. Standard calling convention. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "tambre32/api.h"

/* A driver's redundancy settings, as kept in the user settings store. */
typedef struct RedundancySettings {
  char RemoteMachine[128]; /* host name or dotted IPv4 address of the other machine */
  int16_t Mode;            /* 0 deactivated, 1 master, 2 standby */
  uint16_t IPPort;         /* UDP port used on both machines */
  int32_t AliveTimeout;    /* milliseconds */
} RedundancySettings;

/* One open link, owned by the library: OpenRedundancy creates it, CloseRedundancy frees it.
   Callers may read it (a status display does); only QueryRedundancy changes it. Times are
   GetTickCount values. */
typedef struct RedundancyHandle {
  uint32_t Flags;        /* bit 0: start-up pending */
  uint32_t Mode;         /* 1 master, 2 standby */
  uint32_t AliveTimeout; /* T in ms */
  char RemoteName[64];
  uint32_t RemoteAddress; /* network byte order */
  uint16_t Port;          /* network byte order */
  uintptr_t Socket;
  uint32_t PeerTimeout; /* standby: T of the last accepted datagram */
  uint32_t Status;      /* bit 0: standby: master online; master: announcing regularly */
  uint32_t LastContact; /* standby: last accepted datagram; master: last successful send */
  uint32_t SequenceA;   /* standby: sequence of the last accepted datagram; master: own counter */
  uint32_t LastSend;    /* standby: its last own send; master: the opening time */
  uint32_t SequenceB;   /* standby: own counter; master: non-zero once a standby was heard */
} RedundancyHandle;

#ifdef __cplusplus
static_assert(sizeof(RedundancySettings) == 136, "settings record layout");
static_assert(offsetof(RedundancySettings, Mode) == 128 && offsetof(RedundancySettings, IPPort) == 130 &&
                  offsetof(RedundancySettings, AliveTimeout) == 132,
              "settings record layout");
static_assert(offsetof(RedundancyHandle, RemoteName) == 12 && offsetof(RedundancyHandle, RemoteAddress) == 76 &&
                  offsetof(RedundancyHandle, Port) == 80,
              "link handle layout");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(RedundancyHandle, Socket) == 84 && sizeof(RedundancyHandle) == 112, "i686 link handle");
#endif
#endif

/* Opens the link to `remote` (host name or dotted address, at most 63 characters) on UDP
   port `port` (decimal text; null gives 10990) as master (mode 1) or standby (mode 2). The
   low 24 bits of `timeout` are the alive timeout T in ms (0 gives 8000). Null on failure.
   Each successful opening starts one use of the socket library. */
TAMBRE_EXPORT(RedundancyHandle*, TAMBRE_STDCALL)
OpenRedundancy(const char* remote, const char* port, int mode, unsigned int timeout, void* reserved);
/* Closes the socket and frees the handle: 1. A null handle ends one use of the socket
   library instead: 0. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) CloseRedundancy(RedundancyHandle* handle);
/* 1: the master is in charge; -1: the standby is in charge; 0: null handle, or the master's
   announcement could not be sent. Query more often than T/2. Never on two threads at once
   for one handle. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) QueryRedundancy(RedundancyHandle* handle, void* reserved);

#if defined(_WIN32)
#include <windows.h>

/* A driver module's settings in the user settings store, section "<module>.Redundancy"
   ("<module>#<index>.Redundancy" for an index of 1 or more; <module> is the module's file
   name without directory and from its first '.' on). Missing entries give an empty name,
   mode 0, 8000 ms and port 10990. The result is the length of the remote name read; 0
   also for a null record or a module without a file name (the record stays untouched). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) LoadMachineRedundancy(HMODULE module, short index, RedundancySettings* settings);
/* Writes all four entries, each attempted: 1 when all were written, else 0. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
SaveMachineRedundancy(HMODULE module, short index, const RedundancySettings* settings);
/* The setup dialog (modal to `parent`). Without a record it edits the module's stored
   settings and saves them on "OK"; with one it edits only that record. 1 confirmed, 0
   cancelled. One setup dialog per process at a time. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
SetupRedundancy(HWND parent, HMODULE module, short index, RedundancySettings* settings);
/* The status dialog of an open link, refreshed every second until closed: 1. A null
   handle beeps: 0. One status dialog per process at a time. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) ShowRedundancyStatus(HWND parent, const RedundancyHandle* handle);
#endif
