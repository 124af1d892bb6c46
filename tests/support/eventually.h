#pragma once
// Polls `condition` every few milliseconds for at most `timeout_ms`; true once it holds.
#include <windows.h>

namespace tambre::test {

template <typename Condition>
bool eventually(Condition condition, DWORD timeout_ms = 5000) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(2)) {
    if (GetTickCount() - start > timeout_ms) return condition();
  }
  return true;
}

}  // namespace tambre::test
