#pragma once
// Reads the zone from the platform's record for a test's duration: Wine passes the host's
// TZ (Europe/Berlin ...) into the process, which the library would parse as a TZ text.
#include <windows.h>

#include "tambre32/timecore.h"

namespace tambre::test {

class without_tz {
 public:
  without_tz() {
    SetEnvironmentVariableA("TZ", nullptr);
    _tzset_();
  }
  ~without_tz() { _tzset_(); }
  without_tz(const without_tz&) = delete;
  without_tz& operator=(const without_tz&) = delete;
};

}  // namespace tambre::test
