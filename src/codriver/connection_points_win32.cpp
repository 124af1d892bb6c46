// The connection point of a driver object for IProcessDriverEvent: container, point
// enumerator, the point with its sink list and connection enumerator. All four live inside
// the driver object and count on it.
#include <cstring>

#include <olectl.h>

#include "tambre32/automation.h"
#include "tambre32/codriver.h"

namespace {

// One counter for the whole process; successive cookies run 1, 3, 5, ...
DWORD cookie_counter = 0;

// Advise and Unadvise arrive on COM's threads while the driver's thread notifies: one lock
// keeps every driver's sink list and the cookie counter whole. No sink is called under it,
// so a sink may unsubscribe from inside its handler.
SRWLOCK sink_lock = SRWLOCK_INIT;

class sink_list_guard {
 public:
  sink_list_guard() { AcquireSRWLockExclusive(&sink_lock); }
  ~sink_list_guard() { ReleaseSRWLockExclusive(&sink_lock); }
  sink_list_guard(const sink_list_guard&) = delete;
  sink_list_guard& operator=(const sink_list_guard&) = delete;
};

template <typename Interface, typename Object>
HRESULT self_or_nothing(Object* object, REFIID own, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != own) return E_NOINTERFACE;
  *out = static_cast<Interface*>(object);
  object->AddRef();
  return S_OK;
}

}  // namespace

// IContainer

HRESULT STDMETHODCALLTYPE CoDriver::IContainer::QueryInterface(REFIID iid, void** out) {
  return self_or_nothing<IConnectionPointContainer>(this, IID_IConnectionPointContainer, iid, out);
}
ULONG STDMETHODCALLTYPE CoDriver::IContainer::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE CoDriver::IContainer::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE CoDriver::IContainer::EnumConnectionPoints(IEnumConnectionPoints** out) {
  return m_owner->QueryInterface(IID_IEnumConnectionPoints, reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE CoDriver::IContainer::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  if (iid != m_owner->m_eventInterfaceId) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  return m_owner->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(out));
}

// IEnumPoints: one connection point, position 0 or 1, shared by every request.

HRESULT STDMETHODCALLTYPE CoDriver::IEnumPoints::QueryInterface(REFIID iid, void** out) {
  return self_or_nothing<IEnumConnectionPoints>(this, IID_IEnumConnectionPoints, iid, out);
}
ULONG STDMETHODCALLTYPE CoDriver::IEnumPoints::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE CoDriver::IEnumPoints::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE CoDriver::IEnumPoints::Next(ULONG count, IConnectionPoint** out, ULONG* fetched) {
  if (!out && count) return E_POINTER;
  ULONG done = 0;
  while (done < count && m_position == 0) {
    out[done] = static_cast<IConnectionPoint*>(&m_owner->m_point);
    out[done]->AddRef();
    ++done;
    ++m_position;
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CoDriver::IEnumPoints::Skip(ULONG count) {
  return (count == 0 && m_position == 0) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CoDriver::IEnumPoints::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::IEnumPoints::Clone(IEnumConnectionPoints** out) {
  return m_owner->QueryInterface(IID_IEnumConnectionPoints, reinterpret_cast<void**>(out));
}

// IPoint

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::QueryInterface(REFIID iid, void** out) {
  return self_or_nothing<IConnectionPoint>(this, IID_IConnectionPoint, iid, out);
}
ULONG STDMETHODCALLTYPE CoDriver::IPoint::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE CoDriver::IPoint::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = m_owner->m_eventInterfaceId;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  return m_owner->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (m_sinkCount >= DRV_MAX_SINKS) return CONNECT_E_ADVISELIMIT;
  if (!sink) return E_POINTER;
  // The query may be a call into the client's process: it is made outside the lock.
  IProcessDriverEvent* events = nullptr;
  const HRESULT result = sink->QueryInterface(m_owner->m_eventInterfaceId, reinterpret_cast<void**>(&events));
  if (FAILED(result)) return result;
  {
    sink_list_guard guard;
    if (m_sinkCount < DRV_MAX_SINKS) {
      if (++cookie_counter == 0) cookie_counter = 1;
      const DWORD issued = cookie_counter;
      m_sinks[m_sinkCount] = Sink{events, issued};
      *cookie = issued;
      ++cookie_counter;
      ++m_sinkCount;
      return S_OK;
    }
  }
  events->Release();  // the list was filled meanwhile by another thread
  return E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::Unadvise(DWORD cookie) {
  if (cookie == 0) return E_INVALIDARG;
  IProcessDriverEvent* events = nullptr;
  {
    sink_list_guard guard;
    LONG slot = 0;
    while (slot < m_sinkCount && m_sinks[slot].cookie != cookie) ++slot;
    if (slot == m_sinkCount) return E_INVALIDARG;
    events = m_sinks[slot].events;
    memmove(&m_sinks[slot], &m_sinks[slot + 1], (m_sinkCount - slot - 1) * sizeof(Sink));
    --m_sinkCount;
    m_sinks[m_sinkCount] = Sink{nullptr, 0};
  }
  // A notification under way holds references of its own; this one may end the proxy.
  if (events) events->Release();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::EnumConnections(IEnumConnections** out) {
  return m_enumConn.QueryInterface(IID_IEnumConnections, reinterpret_cast<void**>(out));
}

CoDriver::NotifyRes CoDriver::IPoint::NotifySinks(EventID event, HWND, WPARAM word, LPARAM value) {
  // Every event walks a copy taken under the lock, with references of its own: a sink
  // subscribed during the whole notification receives it, whoever unsubscribes meanwhile.
  Sink copy[DRV_MAX_SINKS];
  LONG count = 0;
  {
    sink_list_guard guard;
    for (; count < m_sinkCount; ++count) {
      copy[count] = m_sinks[count];
      if (copy[count].events) copy[count].events->AddRef();
    }
  }
  IDispatch* server = static_cast<IProcessDriver*>(m_owner);
  try {
    for (LONG i = 0; i < count; ++i) {
      IProcessDriverEvent* sink = copy[i].events;
      if (!sink) continue;
      IProcessDriverEvent* events = nullptr;
      if (FAILED(sink->QueryInterface(m_owner->m_eventInterfaceId, reinterpret_cast<void**>(&events)))) continue;
      // A sink's failure code concerns it alone; the walk goes on.
      if (event == EID_TERMINATE) {
        events->Terminate(server);
      } else if (event == EID_TRANSACTIONCOMPLETED) {
        const auto long_value = static_cast<DWORD>(value);
        events->TransactionCompleted(server, static_cast<long>(word), MakeBool(long_value & 0xFFFF),
                                     static_cast<long>(long_value >> 16));
      }
      events->Release();
    }
  } catch (...) {
    // Anything other than a failure code ends the walk.
  }
  for (LONG i = 0; i < count; ++i) {
    if (copy[i].events) copy[i].events->Release();
  }
  return NotifyDone;
}

CoDriver::NotifyRes CoDriver::NotifySinks(EventID event, HWND window, WPARAM word, LPARAM value) {
  return m_point.NotifySinks(event, window, word, value);
}

// IEnumConn: the sink list from position 0, shared by every request.

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::QueryInterface(REFIID iid, void** out) {
  return self_or_nothing<IEnumConnections>(this, IID_IEnumConnections, iid, out);
}
ULONG STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::Next(ULONG count, CONNECTDATA* out, ULONG* fetched) {
  if (!out && count) return E_POINTER;
  sink_list_guard guard;
  ULONG done = 0;
  while (done < count && static_cast<LONG>(m_position) < m_owner->m_sinkCount) {
    const Sink& slot = m_owner->m_sinks[m_position];
    out[done].pUnk = slot.events;
    if (slot.events) slot.events->AddRef();
    out[done].dwCookie = slot.cookie;
    ++done;
    ++m_position;
  }
  if (fetched) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::Skip(ULONG count) {
  sink_list_guard guard;
  if (static_cast<long long>(m_position) + count >= m_owner->m_sinkCount) return S_FALSE;
  m_position += count;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CoDriver::IPoint::IEnumConn::Clone(IEnumConnections** out) {
  return QueryInterface(IID_IEnumConnections, reinterpret_cast<void**>(out));
}
