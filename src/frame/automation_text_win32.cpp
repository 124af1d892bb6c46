// Texts between the 8-bit system code page and automation: wide strings, BSTR, GUIDs.
#include <memory>
#include <new>

#include "tambre32/automation.h"

TAMBRE_EXPORT(LPOLESTR, TAMBRE_STDCALL) ToOleStr(LPOLESTR out, const char* text) {
  if (!out) return out;
  if (!text || !MultiByteToWideChar(CP_ACP, 0, text, -1, out, TAMBRE_OLESTR_BUFFER)) {
    // A text longer than the buffer fails the call; keep what fits, terminated.
    if (text && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      out[TAMBRE_OLESTR_BUFFER - 1] = 0;
    } else {
      out[0] = 0;
    }
  }
  return out;
}

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) FromOleStr(char* out, LPCOLESTR text) {
  if (!out) return out;
  if (!text || !WideCharToMultiByte(CP_ACP, 0, text, -1, out, TAMBRE_OLESTR_BUFFER, nullptr, nullptr)) {
    if (text && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      out[TAMBRE_OLESTR_BUFFER - 1] = 0;
    } else {
      out[0] = 0;
    }
  }
  return out;
}

TAMBRE_EXPORT(BSTR, TAMBRE_STDCALL) MakeSysStr(const char* text) {
  if (!text) return nullptr;
  const size_t n = strlen(text) + 1;
  OLECHAR local[TAMBRE_OLESTR_BUFFER];
  std::unique_ptr<OLECHAR[]> allocated;
  OLECHAR* wide = local;
  if (n > TAMBRE_OLESTR_BUFFER) {
    allocated.reset(new (std::nothrow) OLECHAR[n]);
    if (!allocated) return nullptr;
    wide = allocated.get();
  }
  if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(n))) wide[0] = 0;
  return SysAllocString(wide);
}

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) FromSysStr(char* out, BSTR bstr) {
  if (!out) {
    SysFreeString(bstr);
    return out;
  }
  out[0] = 0;
  if (bstr) {
    FromOleStr(out, bstr);
    SysFreeString(bstr);
  }
  return out;
}

namespace {
// Shared by every caller; each call overwrites it.
char guid_text[40];
}  // namespace

TAMBRE_EXPORT(char*, TAMBRE_STDCALL) StrFromGUID(REFGUID guid) {
  OLECHAR wide[40];
  if (StringFromGUID2(guid, wide, 40) > 0) {
    for (int i = 0; i < 40; ++i) guid_text[i] = static_cast<char>(wide[i] & 0xFF);
  } else {
    guid_text[0] = 0;
  }
  return guid_text;
}

TAMBRE_EXPORT(VARIANT_BOOL, TAMBRE_STDCALL) MakeBool(int value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
