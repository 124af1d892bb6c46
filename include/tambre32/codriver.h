/* CoDriver: the automation server object of a process driver, with its channel maps and
   its connection point for IProcessDriverEvent. */
#pragma once

#include <ocidl.h>
#include <olectl.h> /* DllRegisterServer, DllUnregisterServer: the library registers its server */
#include <windows.h>

#include "tambre32/api.h"
#include "tambre32/codriver_records.h"
#include "tambre32/codriver_types.h"

#ifdef __cplusplus

/* The host's query function: code, parameter, size of the output, output; non-zero when
   it filled the output. Codes: 2 project name (80 bytes), 12 driver state of the module
   given as parameter, 14 cycle time in ms, 15 process control on, 17 measurement on. */
typedef int(TAMBRE_STDCALL* DrvHostQueryProc)(int code, DWORD_PTR parameter, int size, void* output);

/* Bits of the run flags of CoDriver::RunObject. */
#define DRV_RUN_FILE_MONIKER 0x01   /* register a file moniker in the running object table */
#define DRV_RUN_TYPE_INFO 0x02      /* load the type information (IDispatch) */
#define DRV_RUN_REGISTER 0x04       /* register the server at start */
#define DRV_RUN_CHANNEL_COUNTS 0x10 /* publish channel counts and bases */

#define DRV_NAME_SIZE 48       /* characters of the class, type library and template names */
#define DRV_MAX_SINKS 16       /* subscribers of the event connection point */
#define DRV_SHORT_NAME_SIZE 18 /* bytes of a channel's short name in the init record */
#define DRV_LONG_NAME_SIZE 25  /* bytes of a channel's long name in the init record */

#define TAMBRE_DECLARE_RESERVED(n) HRESULT STDMETHODCALLTYPE ReservedMethod##n() override;
/* The IUnknown and IDispatch members every automation class of the library overrides. */
#define TAMBRE_DECLARE_DISPATCH_MEMBERS                                                                                \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;                                           \
  ULONG STDMETHODCALLTYPE AddRef() override;                                                                           \
  ULONG STDMETHODCALLTYPE Release() override;                                                                          \
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;                                                    \
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;                            \
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override; \
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,                 \
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

/* The automation server object of a process driver: created by the driver, fed with the
   host's init record, run on a server thread of its own and destroyed with Destroy. */
class TAMBRE_API CoDriver : public IProcessDriver {
 public:
  enum NotifyRes { NotifyDone = 0 };

  /* The connection-point objects live inside the driver object and share its count. */
  class TAMBRE_API IContainer : public IConnectionPointContainer {
   public:
    CoDriver* m_owner;
    /* IUnknown (counted on the owner) and IConnectionPointContainer. */
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
  };

  /* The enumerator of the driver's one connection point. */
  class TAMBRE_API IEnumPoints : public IEnumConnectionPoints {
   public:
    CoDriver* m_owner;
    ULONG m_position;
    /* IUnknown (counted on the owner) and IEnumConnectionPoints. */
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override;
  };

  /* The connection point of IProcessDriverEvent with its subscribers. */
  class TAMBRE_API IPoint : public IConnectionPoint {
   public:
    /* The enumerator of the point's subscribers. */
    class TAMBRE_API IEnumConn : public IEnumConnections {
     public:
      IPoint* m_owner;
      ULONG m_position;
      /* IUnknown (counted on the owner) and IEnumConnections. */
      HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
      ULONG STDMETHODCALLTYPE AddRef() override;
      ULONG STDMETHODCALLTYPE Release() override;
      HRESULT STDMETHODCALLTYPE Next(ULONG count, CONNECTDATA* out, ULONG* fetched) override;
      HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
      HRESULT STDMETHODCALLTYPE Reset() override;
      HRESULT STDMETHODCALLTYPE Clone(IEnumConnections** out) override;
    };
    /* One subscriber slot. */
    struct Sink {
      IProcessDriverEvent* events; /* one reference owned by the slot */
      DWORD cookie;
    };

    CoDriver* m_owner;
    IEnumConn m_enumConn;
    LONG m_sinkCount;
    Sink m_sinks[DRV_MAX_SINKS];

    /* IUnknown (counted on the owner) and IConnectionPoint. */
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;
    /* Calls the event on every subscriber. */
    virtual NotifyRes NotifySinks(EventID event, HWND window, WPARAM word, LPARAM value);
  };

  /* Fields, in the order of the object's layout. */
  ULONG m_refCount;
  DWORD m_classCookie;
  DWORD m_rotCookie;
  DWORD m_activeCookie;
  HANDLE m_thread;
  HANDLE m_stopEvent;
  volatile LONG m_runState; /* 0 idle, 1 starting, 2 running, 3 stopped */
  DWORD m_runFlags;
  WORD m_version; /* major in the high byte */
  WORD m_buildNumber;
  SHORT m_projectId;
  SHORT m_channelCounts[TAMBRE_CHANNEL_TYPES];
  SHORT m_channelBases[TAMBRE_CHANNEL_TYPES];
  char* m_shortNames[TAMBRE_CHANNEL_TYPES];
  char* m_secondTables[TAMBRE_CHANNEL_TYPES];
  HINSTANCE m_instance;
  char m_className[DRV_NAME_SIZE];
  char m_typeLibName[DRV_NAME_SIZE];
  char m_regFileName[DRV_NAME_SIZE];
  GUID m_classId;
  GUID m_interfaceId;
  GUID m_eventInterfaceId;
  GUID m_libraryId;
  IProcessDriver* m_running;
  ITypeInfo* m_typeInfo;
  IMoniker* m_fileMoniker;
  IContainer m_container;
  IEnumPoints m_enumPoints;
  IPoint m_point;
  char* m_longNames[TAMBRE_CHANNEL_TYPES];

  /* An empty object; Init or the setters below give it its identity. */
  CoDriver();
  /* Not copyable: the object owns its name-table copies, its server thread and its COM
     registrations, and a copy would free or revoke them a second time. */
  CoDriver(const CoDriver&) = delete;
  CoDriver& operator=(const CoDriver&) = delete;
  virtual ~CoDriver();

  /* Allocated from the global heap, zero-filled; null when memory runs out. */
  static void* operator new(size_t size) noexcept;
  static void operator delete(void* block) noexcept;

  /* A new object on the global heap, initialised as by Init; null when memory runs out. */
  static CoDriver* Create(HINSTANCE instance, WORD version, WORD buildNumber, const char* className,
                          const char* typeLibName, const char* regFileName, REFGUID classId, REFIID interfaceId,
                          REFIID eventInterfaceId, REFGUID libraryId);
  /* The driver's module, version, names of class, type library and registry template, and
     the ids of class, interface, event interface and type library. */
  void Init(HINSTANCE instance, WORD version, WORD buildNumber, const char* className, const char* typeLibName,
            const char* regFileName, REFGUID classId, REFIID interfaceId, REFIID eventInterfaceId, REFGUID libraryId);
  /* Stops the server and releases until the object is gone; null then. */
  static CoDriver* Destroy(CoDriver* driver);
  /* The module instance of tambre32.dll. */
  static HINSTANCE GetDllInstance();

  /* Back to the state of a new object. */
  void _Reset();

  /* Single parts of Init; the name setters fail on a name of DRV_NAME_SIZE characters or
     more. */
  void SetInstance(HINSTANCE instance);
  void SetVersion(WORD version);
  void SetBuildNumber(WORD buildNumber);
  BOOL SetClassName(const char* name);
  BOOL SetTypeLibName(const char* name);
  BOOL SetRegFileName(const char* name);

  /* Takes the host's init record: channel counts, bases, name tables and the query
     function. */
  BOOL ForwardInit(const DrvInitStruct* record);
  /* Takes the host's dialog record. */
  BOOL ForwardDialogEx(const DrvDialogStruct* record);

  /* Starts the server thread with DRV_RUN_* flags; true once it runs. */
  BOOL RunObject(int flags, void* reserved);
  /* Signals the server thread to end and waits up to `timeout` ms for it. */
  BOOL StopObject(int timeout);
  /* The server thread's body: COM, registrations, message loop. */
  void _RunInternal();

  /* Sends `event` (EID_TRANSACTIONCOMPLETED: transaction id `word`, success `value`) to
     every subscriber. */
  NotifyRes NotifySinks(EventID event, HWND window, WPARAM word, LPARAM value);

  /* Writes the type library file beside the module and imports the registry template when
     forced or when the registration is missing or stale; 0 on success. Forced also shows
     failures. */
  HRESULT RegisterServer(bool forced);
  /* Removes every key of the registry template; the type library file stays. */
  HRESULT UnregisterServer();

  /* The type information of `id` from the module's type library resource. */
  HRESULT LoadTypeInfo(const char* typeLibName, REFGUID id, ITypeInfo*& typeInfo);
  /* Loads the object's own type information. */
  void LoadTypeInfo();
  /* Releases type information loaded by LoadTypeInfo. */
  HRESULT UnloadTypeInfo(ITypeInfo*& typeInfo);
  /* Releases the object's own type information. */
  void UnloadTypeInfo();

  /* IUnknown, IDispatch */
  TAMBRE_DECLARE_DISPATCH_MEMBERS
  /* IProcessDriver: the properties, answered from the init record, the module and the
     host's query function. */
  HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetFileName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetFilePath(BSTR* path) override;
  HRESULT STDMETHODCALLTYPE GetInstallDir(BSTR* directory) override;
  HRESULT STDMETHODCALLTYPE GetAppFilePath(BSTR* path) override;
  HRESULT STDMETHODCALLTYPE GetAppFileName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetProjectID(long* id) override;
  HRESULT STDMETHODCALLTYPE GetControl(VARIANT_BOOL* on) override;
  HRESULT STDMETHODCALLTYPE GetMeasurement(VARIANT_BOOL* on) override;
  HRESULT STDMETHODCALLTYPE GetProjectName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetDriverState(DriverState* state) override;
  HRESULT STDMETHODCALLTYPE GetChannelCount(ChannelType type, long* count) override;
  HRESULT STDMETHODCALLTYPE GetChannelBase(ChannelType type, long* base) override;
  HRESULT STDMETHODCALLTYPE GetChannelMaps(ChannelType type, ChannelMapCollection** maps) override;
  HRESULT STDMETHODCALLTYPE GetCycleTime(long* milliseconds) override;
  TAMBRE_RESERVED_METHODS(TAMBRE_DECLARE_RESERVED)
};

/* The channel maps of one type. Holds a plain pointer to its driver object. */
class TAMBRE_API CoDriverMaps : public ChannelMapCollection {
 public:
  CoDriver* m_owner;
  ULONG m_refCount;
  long m_count; /* the owner's count of the type at creation */
  ChannelType m_type;
  ITypeInfo* m_typeInfo;

  /* Created by the owner for one channel type; lives on the global heap. */
  CoDriverMaps(CoDriver* owner, ChannelType type);
  virtual ~CoDriverMaps();
  static void* operator new(size_t size) noexcept;
  static void operator delete(void* block) noexcept;

  TAMBRE_DECLARE_DISPATCH_MEMBERS
  /* ChannelMapCollection. */
  HRESULT STDMETHODCALLTYPE GetCount(long* count) override;
  HRESULT STDMETHODCALLTYPE GetType(ChannelType* type) override;
  HRESULT STDMETHODCALLTYPE GetItem(long index, ChannelMap** item) override;
  HRESULT STDMETHODCALLTYPE _NewEnumItem(IUnknown** enumerator) override;
};

/* One channel: its type and its 1-based address within the type. */
class TAMBRE_API CoDriverMap : public ChannelMap {
 public:
  CoDriver* m_owner;
  ULONG m_refCount;
  ChannelType m_type;
  long m_address;
  ITypeInfo* m_typeInfo;

  /* Created by the owner for one channel type and address; lives on the global heap. */
  CoDriverMap(CoDriver* owner, ChannelType type, long address);
  virtual ~CoDriverMap();
  static void* operator new(size_t size) noexcept;
  static void operator delete(void* block) noexcept;

  TAMBRE_DECLARE_DISPATCH_MEMBERS
  /* ChannelMap. */
  HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetChannelType(ChannelType* type) override;
  HRESULT STDMETHODCALLTYPE GetChannelAddress(long* address) override;
  HRESULT STDMETHODCALLTYPE GetActivated(VARIANT_BOOL* activated) override;
  HRESULT STDMETHODCALLTYPE PutActivated(VARIANT_BOOL activated) override;
  HRESULT STDMETHODCALLTYPE GetMapping(BSTR* mapping) override;
  HRESULT STDMETHODCALLTYPE PutMapping(BSTR mapping) override;
};

#endif /* __cplusplus */

/* One step of a driver's message loop: 1 when a message was handled. WM_CLOSE and
   SC_CLOSE are swallowed with a beep. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DrvDispatch(HWND window);
