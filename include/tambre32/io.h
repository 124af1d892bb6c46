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

/* One step of a port sequence: a read, a write or a wait on one port. */
typedef struct TambreIoSequenceItem {
  DWORD operation;   /* TAMBRE_IO_READ8 ... TAMBRE_IO_WAIT32 */
  DWORD port_offset; /* added to the base port */
  DWORD value;       /* written; or read; or the last masked value of a wait */
  DWORD mask;        /* waits: the bits compared */
  DWORD expected;    /* waits: the value the masked bits must reach */
  DWORD reserved;
} TambreIoSequenceItem;

/* Operations of a sequence item: 4 x width class (8, 16, 32 bits) + kind (read, write,
   wait). */
#define TAMBRE_IO_READ8 0
#define TAMBRE_IO_WRITE8 1
#define TAMBRE_IO_WAIT8 2
#define TAMBRE_IO_READ16 4
#define TAMBRE_IO_WRITE16 5
#define TAMBRE_IO_WAIT16 6
#define TAMBRE_IO_READ32 8
#define TAMBRE_IO_WRITE32 9
#define TAMBRE_IO_WAIT32 10
/* The header's time limit that never runs out. */
#define TAMBRE_IO_NO_TIME_LIMIT 0xFFFFFFFFUL
/* Bytes of one PCI device record returned by PCIOpenEx. */
#define TAMBRE_PCI_RECORD_SIZE 68

/* ControlNTService operations. */
#define TAMBRE_SERVICE_START 1
#define TAMBRE_SERVICE_STOP 2
#define TAMBRE_SERVICE_CREATE 4

/* Chooses how port I/O is done on this system (direct or through the kernel device); runs
   at load and at every IOOpen. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORegister(void);
/* 1 when the kernel device opens and its version word has the capability bits and at least
   the minimum version. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IODeviceInstalledEx(WORD capabilities, WORD min_version);
/* IODeviceInstalledEx(3, 0). */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IODeviceInstalled(void);
/* 1 when the device is there, has been installed (now or for the next start) or the user
   declined to install it; 0 when the installation failed. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOQueryDeviceInstallEx(WORD capabilities, WORD min_version);
/* IOQueryDeviceInstallEx(3, 0); drivers call it before they use the port functions. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOQueryDeviceInstall(void);
/* 1 when `port` must not be used: a system port, or a PC-hardware port the user did not
   confirm (ask nonzero: the user is asked or told). */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) IOIsSystemPort(DWORD port, int ask);
/* operation: TAMBRE_SERVICE_*; display_name may be null, else at least 80 characters. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) ControlNTService(const char* name, int operation, char* display_name);

/* The handle for the port functions: 1 in direct mode, the device handle otherwise, 0 on
   failure. */
TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL) IOOpen(void);
/* Ends a handle of IOOpen; a null handle is ignored. */
TAMBRE_EXPORT(void, TAMBRE_STDCALL) IOClose(HANDLE device);
/* Reads 8, 16 or 32 bits from a port; 1/0. A failed device request leaves all ones in
 *value. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead8(HANDLE device, DWORD port, BYTE* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead16(HANDLE device, DWORD port, WORD* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORead32(HANDLE device, DWORD port, DWORD* value);

/* Writes 8, 16 or 32 bits to a port; 1/0. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite8(HANDLE device, DWORD port, BYTE value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite16(HANDLE device, DWORD port, WORD value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOWrite32(HANDLE device, DWORD port, DWORD value);

/* Runs a port-sequence record (TambreIoSequenceHeader and its items) in one go and writes
   the values read back into it; 1/0. Both names are the same function. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOSequence(HANDLE device, void* record);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCISequence(HANDLE device, void* record);

/* Physical memory of the first megabyte: segment in the high, offset in the low 16 bits. */
TAMBRE_EXPORT(void*, TAMBRE_STDCALL) IOAllocPhysicalMemory(DWORD segment_offset, DWORD length);
/* Releases a mapping of IOAllocPhysicalMemory or PCIMapMemory; 0 for an address that is not
   mapped. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IOFreePhysicalMemory(void* address);

/* PCI devices. capacity: in, the records `buffer` holds; out, the records returned. */
TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL)
PCIOpenEx(DWORD word1, DWORD word2, DWORD word3, DWORD* capacity, void* buffer);
/* PCIOpenEx with selection words 2 and 3 set to 0. */
TAMBRE_EXPORT(HANDLE, TAMBRE_STDCALL) PCIOpen(DWORD word1, DWORD* capacity, void* buffer);
/* Ends a PCI selection; 0 for a null or invalid handle. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIClose(HANDLE pci);
/* The number of devices a selection finds (at most 32); -1 when it cannot be opened. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) PCIEnumDeviceEx(DWORD word1, DWORD word2, DWORD word3);
/* PCIEnumDeviceEx with selection words 2 and 3 set to 0. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) PCIEnumDevice(DWORD word1);
/* Reads 8, 16 or 32 bits of the selected device's configuration space; 1/0, all ones in
 *value on failure. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead8(HANDLE pci, DWORD offset, BYTE* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead16(HANDLE pci, DWORD offset, WORD* value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIRead32(HANDLE pci, DWORD offset, DWORD* value);

/* Writes 8, 16 or 32 bits of the selected device's configuration space; 1/0. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite8(HANDLE pci, DWORD offset, BYTE value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite16(HANDLE pci, DWORD offset, WORD value);
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIWrite32(HANDLE pci, DWORD offset, DWORD value);

/* Maps `length` bytes of a device's physical memory into the process; the address, or 0.
   Each mapping holds a device handle of its own until it is unmapped. */
TAMBRE_EXPORT(void*, TAMBRE_STDCALL) PCIMapMemory(HANDLE pci, DWORD physical_address, DWORD length);
/* Ends a mapping of PCIMapMemory; 1/0. */
TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) PCIUnmapMemory(HANDLE pci, void* address);
