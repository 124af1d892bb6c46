// The socket declarations come before windows.h, which would pull in the old ones.
#include <winsock2.h>

#include <windows.h>

#include "dll/runtime_release_win32.h"
#include "locale/locale_snapshot.h"
#include "net/ip_helper_binding.h"
#include "sys/hr_clock.h"
#include "sys/module_instance.h"
#include "tambre32/api.h"
#include "tambre32/io.h"
#include "ui/image_lists_win32.h"

// The library never refuses to load, and nothing is started at load: every worker thread
// belongs to an object a driver creates. Each area's step runs here, in the
// documented order.
TAMBRE_EXPORT(BOOL, WINAPI) DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      tambre::dll::note_runtime_state();
      tambre::sys::set_module_instance(instance);
      // Port functions work from the start where they can: the access mode is chosen now
      // and renewed by every IOOpen.
      IORegister();
      tambre::locale::take_locale_snapshot();
      tambre::sys::read_counter_frequency();
      break;
    case DLL_PROCESS_DETACH:
      tambre::net::release_ip_helper();
      tambre::ui::destroy_shared_image_list();
      // Unloaded while the process goes on (no reserved pointer): what the run-time
      // libraries would keep to the end of the process is given back now.
      if (reserved == nullptr) tambre::dll::release_runtime_state(instance);
      break;
    default:
      break;
  }
  return TRUE;
}
