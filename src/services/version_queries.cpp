// The exported version queries: the version record and the 64-bit state, each read once.
#include <atomic>

#include "services/version_tables.h"
#include "tambre32/services.h"

namespace tambre::services {

namespace {

const sys::os_version& running_version() {
  static const sys::os_version version = sys::read_os_version();
  return version;
}

constexpr int kNotDetermined = 2;
std::atomic<int> wow64_state{kNotDetermined};

int wow64() {
  int state = wow64_state.load();
  if (state == kNotDetermined) {
    // Two first callers both ask; they get the same answer.
    state = sys::query_wow64();
    wow64_state.store(state);
  }
  return state;
}

}  // namespace

}  // namespace tambre::services

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) QueryWin32Type(void) {
  return tambre::services::version_code(tambre::services::running_version());
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) QueryWin32Param(int selector) {
  return tambre::services::version_param(tambre::services::running_version(), selector, tambre::services::wow64);
}

TAMBRE_EXPORT(intptr_t, TAMBRE_FASTCALL) QueryWin32Name(int selector) {
  return tambre::services::version_name_answer(tambre::services::running_version(), selector);
}

TAMBRE_EXPORT(int, TAMBRE_FASTCALL) Is64BitWindows(void) { return tambre::services::wow64(); }
