// Paths of the shell's special folders.
#include <windows.h>

#include <shlobj.h>

#include "tambre32/services.h"
#include "tambre32/ui.h"

namespace {
constexpr int kNtFiveOrLater = 1;  // version question: NT family, major version 5 or later
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetSpecialWindowsDir(int folder, char* buffer) {
  if (buffer == nullptr) return 0;
  buffer[0] = '\0';
  // Systems that know the flag create a missing folder instead of failing.
  if (QueryWin32Param(kNtFiveOrLater)) folder |= CSIDL_FLAG_CREATE;
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &items)) || items == nullptr) return 0;
  BOOL converted = SHGetPathFromIDListA(items, buffer);
  CoTaskMemFree(items);
  return converted;
}
