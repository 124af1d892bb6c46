#include "codriver/host_query.h"

namespace tambre::codriver {

host_link& host() {
  static host_link link{};
  return link;
}

bool query_host_value(int code, DWORD_PTR parameter, long* answer) {
  DrvHostQueryProc query = host().query;
  if (!query) return false;
  long value = 0;
  if (!query(code, parameter, sizeof value, &value)) return false;
  *answer = value;
  return true;
}

}  // namespace tambre::codriver
