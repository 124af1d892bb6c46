#pragma once
// Tests that need a process started in another environment (a host zone or a locale the
// platform reads at process start) run as their own ctest entry of the same program,
// with TAMBRE_TEST_PROCESS naming the setting. Elsewhere they skip.
#include <windows.h>

#include <cstring>

namespace tambre::test {

inline bool process_started_for(const char* setting) {
  char value[64] = {};
  DWORD n = GetEnvironmentVariableA("TAMBRE_TEST_PROCESS", value, sizeof value);
  return n > 0 && n < sizeof value && std::strcmp(value, setting) == 0;
}

}  // namespace tambre::test

#define TAMBRE_REQUIRE_PROCESS_SETTING(setting)                                                                \
  do {                                                                                                         \
    if (!::tambre::test::process_started_for(setting)) GTEST_SKIP() << "runs in its own process: " << setting; \
  } while (0)
