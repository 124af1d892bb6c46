// The properties of IProcessDriver as the driver object answers them.
#include <cstring>
#include <new>
#include "base/paths.h"

#include "codriver/host_query.h"
#include "tambre32/automation.h"
#include "tambre32/codriver.h"

using tambre::codriver::host;
using tambre::codriver::query_host_value;

namespace {

enum HostCode { kProjectName = 2, kDriverState = 12, kCycleTime = 14, kControl = 15, kMeasurement = 17 };

struct module_path {
  char text[MAX_PATH + 1] = "";
  explicit module_path(HINSTANCE module) { GetModuleFileNameA(module, text, MAX_PATH); }
  const char* file_name() const { return tambre::base::file_part(text); }
};

HRESULT put_text(BSTR* out, const char* text) {
  if (!out) return E_POINTER;
  *out = MakeSysStr(text);
  return S_OK;
}

bool valid_type(ChannelType type) { return type >= 0 && type < TAMBRE_CHANNEL_TYPES; }

HRESULT host_switch(int code, VARIANT_BOOL* out) {
  if (!out) return E_POINTER;
  *out = VARIANT_FALSE;
  if (!host().query) return E_UNEXPECTED;
  long answer = 0;
  if (query_host_value(code, 0, &answer)) *out = MakeBool(answer);
  return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE CoDriver::GetName(BSTR* name) { return put_text(name, m_className); }

HRESULT STDMETHODCALLTYPE CoDriver::GetFileName(BSTR* name) {
  return put_text(name, module_path(m_instance).file_name());
}

HRESULT STDMETHODCALLTYPE CoDriver::GetFilePath(BSTR* path) { return put_text(path, module_path(m_instance).text); }

HRESULT STDMETHODCALLTYPE CoDriver::GetInstallDir(BSTR* directory) {
  module_path path(m_instance);
  if (char* slash = strrchr(path.text, '\\')) *slash = 0;
  return put_text(directory, path.text);
}

HRESULT STDMETHODCALLTYPE CoDriver::GetAppFilePath(BSTR* path) { return put_text(path, module_path(nullptr).text); }

HRESULT STDMETHODCALLTYPE CoDriver::GetAppFileName(BSTR* name) {
  return put_text(name, module_path(nullptr).file_name());
}

HRESULT STDMETHODCALLTYPE CoDriver::GetProjectID(long* id) {
  if (!id) return E_POINTER;
  *id = m_projectId;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetControl(VARIANT_BOOL* on) { return host_switch(kControl, on); }
HRESULT STDMETHODCALLTYPE CoDriver::GetMeasurement(VARIANT_BOOL* on) { return host_switch(kMeasurement, on); }

HRESULT STDMETHODCALLTYPE CoDriver::GetProjectName(BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  DrvHostQueryProc query = host().query;
  char text[80] = "";
  if (!query || !query(kProjectName, 0, sizeof text, text)) return E_UNEXPECTED;
  text[sizeof text - 1] = 0;  // the host's answer is cut to the buffer
  *name = MakeSysStr(text);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetDriverState(DriverState* state) {
  if (!state) return E_POINTER;
  if (m_instance == GetDllInstance()) {
    *state = DrvStatUndefined;
    return S_OK;
  }
  long answer = 0;
  if (!query_host_value(kDriverState, reinterpret_cast<DWORD_PTR>(m_instance), &answer)) answer = 0;
  *state = static_cast<DriverState>(answer);
  return answer < 1 ? E_UNEXPECTED : S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetChannelCount(ChannelType type, long* count) {
  if (!count) return E_POINTER;
  if (!valid_type(type)) return DISP_E_BADINDEX;
  *count = (m_runFlags & DRV_RUN_CHANNEL_COUNTS) ? m_channelCounts[type] : 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetChannelBase(ChannelType type, long* base) {
  if (!base) return E_POINTER;
  if (!valid_type(type)) return DISP_E_BADINDEX;
  const bool published = (m_runFlags & DRV_RUN_CHANNEL_COUNTS) && m_channelCounts[type] != 0;
  *base = published ? m_channelBases[type] + 1 : 0;  // clients count channels from 1
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetChannelMaps(ChannelType type, ChannelMapCollection** maps) {
  if (!maps) return E_POINTER;
  *maps = nullptr;
  if (!valid_type(type)) return DISP_E_BADINDEX;
  CoDriverMaps* collection = new CoDriverMaps(this, type);
  if (!collection) return E_OUTOFMEMORY;
  const HRESULT result = collection->QueryInterface(IID_ChannelMapCollection, reinterpret_cast<void**>(maps));
  if (FAILED(result)) delete collection;
  return result;
}

HRESULT STDMETHODCALLTYPE CoDriver::GetCycleTime(long* milliseconds) {
  if (!milliseconds) return E_POINTER;
  long answer = 0;
  if (!query_host_value(kCycleTime, 0, &answer)) {
    *milliseconds = -1;
    return E_UNEXPECTED;
  }
  *milliseconds = answer;
  return S_OK;
}

#define TAMBRE_DEFINE_RESERVED(n) \
  HRESULT STDMETHODCALLTYPE CoDriver::ReservedMethod##n() { return E_NOTIMPL; }
TAMBRE_RESERVED_METHODS(TAMBRE_DEFINE_RESERVED)
