#include <windows.h>

#include <cstdio>

#include "tambre32/frame.h"

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
AssertDbg(int condition, const char* expression, const char* file, int line, int mode) {
  if (condition != 0) return 1;
  if (expression == nullptr) expression = "";
  if (file == nullptr) file = "";
  char text[800];
  std::snprintf(text, sizeof text, "ASSERTION FAILED: %s [File: %s, Line: %i]\n", expression, file, line);
  OutputDebugStringA(text);
  if (mode == 1) {
    std::snprintf(text, sizeof text, "ASSERTION FAILED:\n\nExpr:\t%s\nFile:\t%s\nLine:\t%i", expression, file, line);
    MessageBoxA(nullptr, text, "Assertion", MB_ICONHAND);
  } else if (mode == -1) {
    RaiseException(TAMBRE_ASSERT_EXCEPTION, 0, 0, nullptr);
  }
  return 0;
}
