#include "frame/ole_binding.h"

#include "tambre32/automation.h"

namespace tambre::frame {

namespace {
// Process-wide and unguarded: OleInit and OleReinit belong to start-up and shut-down.
HMODULE oleaut = nullptr;
VariantTimeToSystemTimeProc to_system_time = nullptr;
SystemTimeToVariantTimeProc to_variant_time = nullptr;
long uses = 0;

template <typename Proc>
Proc lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void unbind() {
  to_system_time = nullptr;
  to_variant_time = nullptr;
  if (oleaut) FreeLibrary(oleaut);
  oleaut = nullptr;
}
}  // namespace

VariantTimeToSystemTimeProc variant_time_to_system_time() { return to_system_time; }
SystemTimeToVariantTimeProc system_time_to_variant_time() { return to_variant_time; }
long ole_binding_uses() { return uses; }

}  // namespace tambre::frame

using namespace tambre::frame;

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) OleInit(void) {
  bool bound = oleaut != nullptr;
  if (!bound) {
    oleaut = LoadLibraryA("OLEAUT32.DLL");
    if (oleaut) {
      to_system_time = lookup<VariantTimeToSystemTimeProc>(oleaut, "VariantTimeToSystemTime");
      to_variant_time = lookup<SystemTimeToVariantTimeProc>(oleaut, "SystemTimeToVariantTime");
      bound = to_system_time && to_variant_time;
      if (!bound) unbind();
    }
  }
  if (bound) ++uses;
  return bound;
}

TAMBRE_EXPORT(void, TAMBRE_STDCALL) OleReinit(void) {
  if (--uses < 1) {
    uses = 0;
    if (oleaut) unbind();
  }
}
