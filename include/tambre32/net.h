/* IPv4 address text and the machine's network adapters. Standard calling convention.
   Addresses are 32-bit values in network byte order: the first octet of the dotted text
   sits in the lowest-addressed byte. 0xFFFFFFFF means "invalid text" or "no such adapter". */
#pragma once

#include "tambre32/api.h"

/* The address of dotted text such as "192.168.1.10"; 0xFFFFFFFF for a null pointer or text
   that is not four decimal pieces of 0 to 255. Only the first 31 characters are read. */
TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) inetaddr(const char* text);
/* Dotted text of an address in one buffer shared by all threads, valid until the next call. */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) ipaddr(unsigned int address);

#if defined(_WIN32)
/* Display names of the adapters (as in the network settings), each followed by '|'. Names
   that do not fit are skipped. Number listed; 0 when none or the query failed; -1 when IP
   Helper cannot be loaded. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetAdapterNames(char* buffer, int size);
/* First IPv4 address of the adapter of that display name (case ignored); 0xFFFFFFFF when
   adapters exist but none has the name; 0 for a null or empty name, a name beginning
   with '<', or when no adapter could be listed. */
TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) GetAdapterAddr(const char* name);
/* First subnet mask, with the same special results as GetAdapterAddr. */
TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) GetAdapterNetMask(const char* name);
/* 1 and the six bytes of the hardware address when found; 0 otherwise. The output is zeroed
   first in every case. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetAdapterMAC(const char* name, unsigned char* mac);
/* Every (address, mask) pair of the named adapter, or of all adapters for a name beginning
   with '*', at most `maximum`. Number written; -1 when IP Helper cannot be loaded. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL)
GetAdapterAddresses(const char* name, int maximum, unsigned int* addresses, unsigned int* masks);
/* Descriptions of the interfaces of the interface table (as GetIfEntry reports them),
   each followed by '|', cut like GetAdapterNames. Number listed; 0 when none or
   the query failed; -1 when IP Helper cannot be loaded. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetInterfaceNames(char* buffer, int size);
#endif
