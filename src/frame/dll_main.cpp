#include <windows.h>

#include "frame/lifecycle.h"
#include "frame/module_instance.h"
#include "frame/runtime_release_win32.h"
#include "tambre32/api.h"

// The library never refuses to load, and nothing is started at load: every worker thread
// belongs to an object a driver creates.
TAMBRE_EXPORT(BOOL, WINAPI) DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      tambre::frame::note_runtime_state();
      tambre::frame::set_module_instance(instance);
      tambre::io::on_process_attach();
      tambre::text::take_locale_snapshot();
      tambre::sys::read_counter_frequency();
      break;
    case DLL_PROCESS_DETACH:
      tambre::net::release_ip_helper();
      tambre::ui::destroy_shared_image_list();
      // Unloaded while the process goes on (no reserved pointer): what the run-time
      // libraries would keep to the end of the process is given back now.
      if (reserved == nullptr) tambre::frame::release_runtime_state(instance);
      break;
    default:
      break;
  }
  return TRUE;
}
