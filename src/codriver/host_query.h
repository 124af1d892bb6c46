#pragma once
// The host's query function and its two values, one set for the whole process. Written
// only while records are forwarded.
#include "tambre32/codriver.h"

namespace tambre::codriver {

struct host_link {
  DrvHostQueryProc query;
  DWORD value_a;
  DWORD value_b;
};

host_link& host();

// Asks the host for a 32-bit answer; false without a query function or when it failed.
bool query_host_value(int code, DWORD_PTR parameter, long* answer);

}  // namespace tambre::codriver
