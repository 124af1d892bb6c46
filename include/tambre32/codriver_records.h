/* The records the host passes to a process driver: DrvInitStruct at start-up and
   DrvDialogStruct to the configuration dialog. Packed, little-endian, with 32-bit pointer
   fields; byte ranges the library does not read are reserved. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 1)

/* Count and base of one channel type of the extended block, and a gap. */
typedef struct DrvChannelBlock {
  int16_t count;
  int16_t base;
  int16_t reserved;
} DrvChannelBlock;

/* Record flags of both records. */
#define DRV_FLAG_EXTENDED_BLOCK 0x04 /* counts, bases and tables of ctTIn, ctTOut, ctMIn, ctMOut */
#define DRV_FLAG_HOST_QUERY 0x08     /* host query function and host value B */
#define DRV_FLAG_T_NAMES 0x20        /* short name tables of ctTIn and ctTOut */
#define DRV_FLAG_LONG_NAMES 0x40     /* long name tables */

/* The host's init record of a driver, as CoDriver::ForwardInit reads it; pointers are
   32-bit addresses. */
typedef struct DrvInitStruct {
  int16_t counts[4]; /* ctAIn, ctAOut, ctDIn, ctDOut */
  int16_t bases[4];
  uint8_t reserved16[8];
  int16_t projectId;
  uint8_t reserved26[8];
  int16_t flags;
  uint8_t reserved36[6];
  uint32_t hostValueA;
  uint32_t hostQuery;
  uint32_t hostValueB;
  uint8_t reserved54[8];
  uint32_t shortNames[4]; /* 18-byte entries */
  uint32_t secondAIn;
  uint32_t secondAOut;
  DrvChannelBlock mIn, mOut, tIn, tOut;
  uint32_t shortMIn, shortMOut, shortTIn, shortTOut;
  uint8_t reserved126[40];
  uint32_t longNames[6]; /* 25-byte entries: ctAIn, ctAOut, ctDIn, ctDOut, ctTIn, ctTOut */
  uint32_t longMIn, longMOut;
} DrvInitStruct;

/* The host's record for a driver's settings dialog (CoDriver::ForwardDialogEx). */
typedef struct DrvDialogStruct {
  int16_t counts[4];
  int16_t bases[4];
  uint8_t reserved16[8];
  int16_t projectId;
  uint8_t reserved26[4];
  int16_t flags;
  uint32_t shortNames[4];
  uint32_t secondAIn;
  uint32_t secondAOut;
  uint8_t reserved56[4];
  DrvChannelBlock mIn, mOut, tIn, tOut;
  uint32_t shortMIn, shortMOut, shortTIn, shortTOut;
  uint8_t reserved100[4];
  uint32_t hostQuery;
  uint32_t hostValueB;
  uint8_t reserved112[40];
  uint32_t longNames[6];
  uint32_t longMIn, longMOut;
} DrvDialogStruct;

#pragma pack(pop)

#ifdef __cplusplus
static_assert(offsetof(DrvInitStruct, projectId) == 24, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, flags) == 34, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, hostValueA) == 42, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, hostQuery) == 46, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, hostValueB) == 50, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, shortNames) == 62, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, secondAIn) == 78, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, secondAOut) == 82, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, mIn) == 86, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, mOut) == 92, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, tIn) == 98, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, tOut) == 104, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, shortMIn) == 110, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, shortTOut) == 122, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, longNames) == 166, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, longMIn) == 190, "DrvInitStruct layout");
static_assert(offsetof(DrvInitStruct, longMOut) == 194, "DrvInitStruct layout");
static_assert(sizeof(DrvInitStruct) == 198, "DrvInitStruct layout");

static_assert(offsetof(DrvDialogStruct, projectId) == 24, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, flags) == 30, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, shortNames) == 32, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, secondAIn) == 48, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, secondAOut) == 52, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, mIn) == 60, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, mOut) == 66, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, tIn) == 72, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, tOut) == 78, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, shortMIn) == 84, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, shortTOut) == 96, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, hostQuery) == 104, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, hostValueB) == 108, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, longNames) == 152, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, longMIn) == 176, "DrvDialogStruct layout");
static_assert(offsetof(DrvDialogStruct, longMOut) == 180, "DrvDialogStruct layout");
static_assert(sizeof(DrvDialogStruct) == 184, "DrvDialogStruct layout");
#endif
