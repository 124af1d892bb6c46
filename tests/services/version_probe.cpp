// Prints what the version queries answer in this process, and the product type of the
// system's own record, on one line: code|name|selector 1|11|12|34|major.minor|product
#include <windows.h>

#include <cstdio>

#include "tambre32/services.h"

int main() {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
  std::printf("%d|%s|%d|%d|%d|%d|%d.%d|%d\n", QueryWin32Type(), reinterpret_cast<const char*>(QueryWin32Name(5)),
              QueryWin32Param(1), QueryWin32Param(11), QueryWin32Param(12), QueryWin32Param(34),
              static_cast<int>(QueryWin32Name(3)), static_cast<int>(QueryWin32Name(4)), info.wProductType);
  return 0;
}
