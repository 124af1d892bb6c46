/* The types of the type library TambreTypes: enumerations, ids and the four automation
   interfaces of a process driver, in the vtable order of the compiled library. */
#pragma once

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>

#include "tambre32/api.h"

#ifdef __cplusplus

enum DriverState : long {
  DrvStatUndefined = 0,
  DrvStatDeactivated = 1,
  DrvStatUnloaded = 2,
  DrvStatLoaded = 3,
  DrvStatInitFailure = 4,
  DrvStatRun = 5,
  DrvStatSuspended = 6,
  DrvStatExitFailure = 7,
  DrvStatExit = 8,
  DrvStatAInFailure = 9,
  DrvStatAOutFailure = 10,
  DrvStatDInFailure = 11,
  DrvStatDOutFailure = 12,
  DrvStatTInFailure = 13,
  DrvStatTOutFailure = 14,
  DrvStatMInFailure = 15,
  DrvStatMOutFailure = 16
};

/* 2, 5, 8 and 11 have no name, but every per-type array has 12 entries. */
enum ChannelType : long { ctAIn = 0, ctAOut = 1, ctDIn = 3, ctDOut = 4, ctTIn = 6, ctTOut = 7, ctMIn = 9, ctMOut = 10 };
#define TAMBRE_CHANNEL_TYPES 12

enum EventID : long { EID_TERMINATE = 2, EID_TRANSACTIONCOMPLETED = 3 };

inline constexpr GUID LIBID_TambreTypes = {
    0x95EE0E40, 0xEB12, 0x4304, {0x9D, 0x9D, 0x8A, 0x8A, 0x73, 0xAA, 0x54, 0x3C}};
inline constexpr GUID CLSID_ProcessDriver = {
    0x5AC12E60, 0x2969, 0x4A89, {0xA1, 0x10, 0xF1, 0x54, 0x35, 0x05, 0x93, 0xC0}};
inline constexpr GUID IID_IProcessDriver = {
    0xF4B183B9, 0x9278, 0x4E8B, {0xA6, 0x27, 0x09, 0xCD, 0x17, 0x86, 0x57, 0x5A}};
inline constexpr GUID IID_IProcessDriverEvent = {
    0x4ACFBBD9, 0xC512, 0x4452, {0xA1, 0xB0, 0x64, 0x5A, 0x66, 0x50, 0x40, 0x00}};
inline constexpr GUID IID_ChannelMapCollection = {
    0x046FFCBD, 0x866B, 0x4FBC, {0xAF, 0x19, 0x91, 0xDA, 0xEC, 0xA6, 0x5D, 0x67}};
inline constexpr GUID IID_ChannelMap = {0x0E5DA385, 0xE570, 0x418C, {0xAD, 0x65, 0x10, 0x91, 0x8D, 0xD1, 0x78, 0x81}};

/* One channel of a driver: name, type and address (implemented by CoDriverMap). */
struct ChannelMap : public IDispatch {
  /* The name of the channel map. */
  virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;
  /* The type of the channel map. */
  virtual HRESULT STDMETHODCALLTYPE GetChannelType(ChannelType* type) = 0;
  /* The channel address of the map. */
  virtual HRESULT STDMETHODCALLTYPE GetChannelAddress(long* address) = 0;
  /* The active flag of the channel map. */
  virtual HRESULT STDMETHODCALLTYPE GetActivated(VARIANT_BOOL* activated) = 0;
  /* Sets the active flag of the channel map. */
  virtual HRESULT STDMETHODCALLTYPE PutActivated(VARIANT_BOOL activated) = 0;
  /* The description of the channel map. */
  virtual HRESULT STDMETHODCALLTYPE GetMapping(BSTR* mapping) = 0;
  /* Sets the description of the channel map. */
  virtual HRESULT STDMETHODCALLTYPE PutMapping(BSTR mapping) = 0;
};

/* The channel maps of one channel type (implemented by CoDriverMaps). */
struct ChannelMapCollection : public IDispatch {
  /* The item count of the collection. */
  virtual HRESULT STDMETHODCALLTYPE GetCount(long* count) = 0;
  /* The channel type of the collection. */
  virtual HRESULT STDMETHODCALLTYPE GetType(ChannelType* type) = 0;
  /* The map of the index; none when it is undefined. */
  virtual HRESULT STDMETHODCALLTYPE GetItem(long index, ChannelMap** item) = 0;
  /* An enumerator of the maps (_NewEnum). */
  virtual HRESULT STDMETHODCALLTYPE _NewEnumItem(IUnknown** enumerator) = 0;
};

// clang-format off
#define TAMBRE_RESERVED_METHODS(X)                                                        \
  X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) X(13) X(14) X(15)        \
  X(16) X(17) X(18) X(19) X(20) X(21) X(22) X(23) X(24) X(25) X(26) X(27) X(28) X(29) X(30)
// clang-format on
#define TAMBRE_DECLARE_RESERVED_PURE(n) virtual HRESULT STDMETHODCALLTYPE ReservedMethod##n() = 0;

/* The automation interface of a process driver object (implemented by CoDriver). Every
   member is a property reader; texts are BSTRs the caller frees. */
struct IProcessDriver : public IDispatch {
  /* The server name. */
  virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;
  /* The driver file name. */
  virtual HRESULT STDMETHODCALLTYPE GetFileName(BSTR* name) = 0;
  /* The driver file path. */
  virtual HRESULT STDMETHODCALLTYPE GetFilePath(BSTR* path) = 0;
  /* The installation directory. */
  virtual HRESULT STDMETHODCALLTYPE GetInstallDir(BSTR* directory) = 0;
  /* The application file path. */
  virtual HRESULT STDMETHODCALLTYPE GetAppFilePath(BSTR* path) = 0;
  /* The application file name. */
  virtual HRESULT STDMETHODCALLTYPE GetAppFileName(BSTR* name) = 0;
  /* The project identifier. */
  virtual HRESULT STDMETHODCALLTYPE GetProjectID(long* id) = 0;
  /* The process control on/off flag. */
  virtual HRESULT STDMETHODCALLTYPE GetControl(VARIANT_BOOL* on) = 0;
  /* The measurement on/off flag. */
  virtual HRESULT STDMETHODCALLTYPE GetMeasurement(VARIANT_BOOL* on) = 0;
  /* The project name. */
  virtual HRESULT STDMETHODCALLTYPE GetProjectName(BSTR* name) = 0;
  /* The driver's state. */
  virtual HRESULT STDMETHODCALLTYPE GetDriverState(DriverState* state) = 0;
  /* The channel count for the type. */
  virtual HRESULT STDMETHODCALLTYPE GetChannelCount(ChannelType type, long* count) = 0;
  /* The driver's channel base address for the type. */
  virtual HRESULT STDMETHODCALLTYPE GetChannelBase(ChannelType type, long* base) = 0;
  /* The channel map collection for the type. */
  virtual HRESULT STDMETHODCALLTYPE GetChannelMaps(ChannelType type, ChannelMapCollection** maps) = 0;
  /* The process cycle time in milliseconds. */
  virtual HRESULT STDMETHODCALLTYPE GetCycleTime(long* milliseconds) = 0;
  TAMBRE_RESERVED_METHODS(TAMBRE_DECLARE_RESERVED_PURE)
};

/* The events of a driver object, implemented by its subscribers. */
struct IProcessDriverEvent : public IDispatch {
  /* The driver object is about to terminate. */
  virtual HRESULT STDMETHODCALLTYPE Terminate(IDispatch* Server) = 0;
  /* A transaction of the driver has completed. */
  virtual HRESULT STDMETHODCALLTYPE TransactionCompleted(IDispatch* Server, long TID, VARIANT_BOOL fSuccess,
                                                         long ExtraInfo) = 0;
};

#endif /* __cplusplus */
