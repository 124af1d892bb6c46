// The driver object: fields and defaults, creation, setters, IUnknown and IDispatch.
#include "tambre32/codriver.h"

#include <cstring>

#include "codriver/dispatch_support.h"
#include "codriver/global_heap.h"
#include "codriver/owned_names.h"
#include "sys/module_instance.h"

using namespace tambre::codriver;

namespace {
const char kDefaultClassName[] = "ProcessDriver.Server";
const char kDefaultTypeLibName[] = "codriver.tlb";
const char kDefaultRegFileName[] = "codriver.reg";

BOOL set_name(char (&field)[DRV_NAME_SIZE], const char* name) {
  if (!name || strlen(name) >= DRV_NAME_SIZE) return FALSE;
  strcpy(field, name);
  return TRUE;
}
}  // namespace

void* CoDriver::operator new(size_t size) noexcept { return global_heap_alloc(size); }
void CoDriver::operator delete(void* block) noexcept { global_heap_free(block); }

CoDriver::CoDriver() {
  _Reset();
  m_version = 0x0100;
  m_instance = GetDllInstance();
  set_name(m_className, kDefaultClassName);
  set_name(m_typeLibName, kDefaultTypeLibName);
  set_name(m_regFileName, kDefaultRegFileName);
  m_classId = CLSID_ProcessDriver;
  m_interfaceId = IID_IProcessDriver;
  m_eventInterfaceId = IID_IProcessDriverEvent;
  m_libraryId = LIBID_TambreTypes;
}

void CoDriver::_Reset() {
  m_refCount = 0;
  m_classCookie = m_rotCookie = m_activeCookie = 0;
  m_thread = nullptr;
  m_stopEvent = nullptr;
  m_runState = 0;
  m_runFlags = 0;
  m_version = 0;
  m_buildNumber = 0;
  m_projectId = 0;
  for (int type = 0; type < TAMBRE_CHANNEL_TYPES; ++type) {
    m_channelCounts[type] = m_channelBases[type] = 0;
    m_shortNames[type] = m_secondTables[type] = m_longNames[type] = nullptr;
  }
  m_instance = nullptr;
  m_className[0] = m_typeLibName[0] = m_regFileName[0] = 0;
  m_classId = m_interfaceId = m_eventInterfaceId = m_libraryId = GUID_NULL;
  m_running = nullptr;
  m_typeInfo = nullptr;
  m_fileMoniker = nullptr;
  m_container.m_owner = this;
  m_enumPoints.m_owner = this;
  m_enumPoints.m_position = 0;
  m_point.m_owner = this;
  m_point.m_enumConn.m_owner = &m_point;
  m_point.m_enumConn.m_position = 0;
  m_point.m_sinkCount = 0;
  for (auto& sink : m_point.m_sinks) sink = IPoint::Sink{nullptr, 0};
}

CoDriver::~CoDriver() {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_SPEED_OVER_MEMORY);
  StopObject(0);
  UnloadTypeInfo();
  if (SUCCEEDED(com)) CoUninitialize();
  free_owned_names(*this);
}

CoDriver* CoDriver::Create(HINSTANCE instance, WORD version, WORD buildNumber, const char* className,
                           const char* typeLibName, const char* regFileName, REFGUID classId, REFIID interfaceId,
                           REFIID eventInterfaceId, REFGUID libraryId) {
  CoDriver* driver = new CoDriver;
  if (driver) {
    driver->Init(instance, version, buildNumber, className, typeLibName, regFileName, classId, interfaceId,
                 eventInterfaceId, libraryId);
  }
  return driver;
}

void CoDriver::Init(HINSTANCE instance, WORD version, WORD buildNumber, const char* className, const char* typeLibName,
                    const char* regFileName, REFGUID classId, REFIID interfaceId, REFIID eventInterfaceId,
                    REFGUID libraryId) {
  SetInstance(instance);
  SetVersion(version);
  SetBuildNumber(buildNumber);
  SetClassName(className);  // a refused name keeps the default
  SetTypeLibName(typeLibName);
  SetRegFileName(regFileName);
  m_classId = classId;
  m_interfaceId = interfaceId;
  m_eventInterfaceId = eventInterfaceId;
  m_libraryId = libraryId;
}

CoDriver* CoDriver::Destroy(CoDriver* driver) {
  if (!driver) return nullptr;
  try {
    driver->StopObject(0);
    // An object nobody ever referenced is taken over with one count, so that it goes too.
    if (driver->m_refCount == 0) driver->AddRef();
    while (driver->Release() != 0) {
    }
    return nullptr;
  } catch (...) {
    return driver;
  }
}

HINSTANCE CoDriver::GetDllInstance() { return tambre::sys::module_instance(); }

void CoDriver::SetInstance(HINSTANCE instance) { m_instance = instance ? instance : GetDllInstance(); }
void CoDriver::SetVersion(WORD version) { m_version = version; }
void CoDriver::SetBuildNumber(WORD buildNumber) { m_buildNumber = buildNumber; }
BOOL CoDriver::SetClassName(const char* name) { return set_name(m_className, name); }
BOOL CoDriver::SetTypeLibName(const char* name) { return set_name(m_typeLibName, name); }
BOOL CoDriver::SetRegFileName(const char* name) { return set_name(m_regFileName, name); }

HRESULT STDMETHODCALLTYPE CoDriver::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == m_interfaceId || iid == m_classId || (iid == IID_IDispatch && m_typeInfo)) {
    *out = static_cast<IProcessDriver*>(this);
  } else if (iid == IID_IConnectionPointContainer) {
    *out = static_cast<IConnectionPointContainer*>(&m_container);
  } else if (iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(&m_point);
  } else if (iid == IID_IEnumConnectionPoints) {
    *out = static_cast<IEnumConnectionPoints*>(&m_enumPoints);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE CoDriver::AddRef() { return InterlockedIncrement(reinterpret_cast<LONG*>(&m_refCount)); }

ULONG STDMETHODCALLTYPE CoDriver::Release() {
  const ULONG count = InterlockedDecrement(reinterpret_cast<LONG*>(&m_refCount));
  if (count == 0) {
    m_refCount = 1;  // keeps calls made while tearing down from deleting twice
    delete this;
  }
  return count;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetTypeInfoCount(UINT* count) { return dispatch_type_info_count(count); }

HRESULT STDMETHODCALLTYPE CoDriver::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  return dispatch_type_info(m_typeInfo, index, out);
}

HRESULT STDMETHODCALLTYPE CoDriver::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return dispatch_ids_of_names(m_typeInfo, names, count, ids);
}

HRESULT STDMETHODCALLTYPE CoDriver::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                           EXCEPINFO* exception, UINT* argError) {
  return dispatch_invoke(m_typeInfo, static_cast<IProcessDriver*>(this), id, flags, params, result, exception,
                         argError);
}
