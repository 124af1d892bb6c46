/* Hardware access: I/O ports, port sequences, PCI devices and physical memory through the
   kernel port-I/O device, and the detection and installation of that device. */
#pragma once

#include <windows.h>

#include "tambre32/api.h"

/* The port-sequence record a driver passes to IOSequence: a 16-byte header, then 24-byte
   items. The record must provide 40 + 24 x item count bytes. */
typedef struct TambreIoSequenceHeader {
  WORD base_port;
  WORD reserved1;
  DWORD timeout_ms; /* for the whole sequence; 0xFFFFFFFF: no limit */
  LONG item_count;  /* 0 or less: nothing to do */
  DWORD reserved2;
} TambreIoSequenceHeader;

typedef struct TambreIoSequenceItem {
  DWORD operation;   /* TAMBRE_IO_READ8 ... TAMBRE_IO_WAIT32 */
  DWORD port_offset; /* added to the base port */
  DWORD value;       /* written; or read; or the last masked value of a wait */
  DWORD mask;        /* waits: the bits compared */
  DWORD expected;    /* waits: the value the masked bits must reach */
  DWORD reserved;
} TambreIoSequenceItem;

#define TAMBRE_IO_READ8 0
#define TAMBRE_IO_WRITE8 1
#define TAMBRE_IO_WAIT8 2
#define TAMBRE_IO_READ16 4
#define TAMBRE_IO_WRITE16 5
#define TAMBRE_IO_WAIT16 6
#define TAMBRE_IO_READ32 8
#define TAMBRE_IO_WRITE32 9
#define TAMBRE_IO_WAIT32 10
#define TAMBRE_IO_NO_TIME_LIMIT 0xFFFFFFFFUL
/* Bytes of one PCI device record returned by PCIOpenEx. */
#define TAMBRE_PCI_RECORD_SIZE 68

/* ControlNTService operations. */
#define TAMBRE_SERVICE_START 1
#define TAMBRE_SERVICE_STOP 2
#define TAMBRE_SERVICE_CREATE 4

/* Device detection and installation. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORegister(void);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IODeviceInstalledEx(WORD capabilities, WORD min_version);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IODeviceInstalled(void);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOQueryDeviceInstallEx(WORD capabilities, WORD min_version);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOQueryDeviceInstall(void);
/* 1 when `port` must not be used: a system port, or a PC-hardware port the user did not
   confirm (ask nonzero: the user is asked or told). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) IOIsSystemPort(DWORD port, int ask);
/* operation: TAMBRE_SERVICE_*; display_name may be null, else at least 80 characters. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) ControlNTService(const char* name, int operation, char* display_name);

/* Ports. */
TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL) IOOpen(void);
TAMBRE_EXPORT(void, TAMBRE_STDCALL) IOClose(HANDLE device);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead8(HANDLE device, DWORD port, BYTE* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead16(HANDLE device, DWORD port, WORD* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead32(HANDLE device, DWORD port, DWORD* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite8(HANDLE device, DWORD port, BYTE value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite16(HANDLE device, DWORD port, WORD value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite32(HANDLE device, DWORD port, DWORD value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOSequence(HANDLE device, void* record);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCISequence(HANDLE device, void* record);

/* Physical memory of the first megabyte: segment in the high, offset in the low 16 bits. */
TAMBRE_EXPORT(void*, TAMBRE_STDCALL) IOAllocPhysicalMemory(DWORD segment_offset, DWORD length);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOFreePhysicalMemory(void* address);

/* PCI devices. capacity: in, the records `buffer` holds; out, the records returned. */
TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL)
PCIOpenEx(DWORD word1, DWORD word2, DWORD word3, DWORD* capacity, void* buffer);
TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL) PCIOpen(DWORD word1, DWORD* capacity, void* buffer);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIClose(HANDLE pci);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) PCIEnumDeviceEx(DWORD word1, DWORD word2, DWORD word3);
TAMBRE_EXPORT(int, TAMBRE_STDCALL) PCIEnumDevice(DWORD word1);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead8(HANDLE pci, DWORD offset, BYTE* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead16(HANDLE pci, DWORD offset, WORD* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead32(HANDLE pci, DWORD offset, DWORD* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite8(HANDLE pci, DWORD offset, BYTE value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite16(HANDLE pci, DWORD offset, WORD value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite32(HANDLE pci, DWORD offset, DWORD value);
TAMBRE_EXPORT(void*, TAMBRE_STDCALL) PCIMapMemory(HANDLE pci, DWORD physical_address, DWORD length);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIUnmapMemory(HANDLE pci, void* address);
