// Which access mode applies, and whether a kernel device of sufficient version and
// capabilities is there.
#include "base/little_endian.h"
#include "io/access_mode.h"
#include "io/device_requests.h"
#include "io/hardware_seams.h"
#include "io/platform_state.h"
#include "tambre32/io.h"

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IODeviceInstalledEx(WORD capabilities, WORD min_version) {
  using namespace tambre::io;
  std::uint32_t error = 0;
  device_handle device = channel().open(kDeviceName, true, error);
  if (device == nullptr) {
    SetLastError(error);
    return FALSE;
  }
  std::uint8_t answer[4] = {};
  std::uint32_t returned = 0;
  std::uint32_t word = kSilentDeviceVersion;
  if (channel().control(device, request::query_version, nullptr, 0, answer, sizeof answer, returned) == 0 &&
      returned >= sizeof answer) {
    word = tambre::base::load_le32(answer);
  }
  channel().close(device);
  const bool new_enough = (word >> 16) >= min_version;
  const bool capable = (word & capabilities) == capabilities;
  return new_enough && capable;
}

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IODeviceInstalled(void) { return IODeviceInstalledEx(3, 0); }

TAMBRE_EXPORT(BOOL, TAMBRE_STDCALL) IORegister(void) {
  using namespace tambre::io;
  if (!refresh_platform().nt) {
    select_access_mode(access_mode::direct);
    return TRUE;
  }
  if (IODeviceInstalled()) {
    select_access_mode(access_mode::device);
    return TRUE;
  }
  select_access_mode(access_mode::unavailable);
  return FALSE;
}
