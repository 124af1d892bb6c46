#pragma once
// The platform's line settings and time-outs for a port opened from a configuration string.
#include <windows.h>

#include "sio/comstr.h"

namespace tambre::sio {

DCB line_settings(const open_settings& s);
COMMTIMEOUTS line_timeouts(const open_settings& s);

}  // namespace tambre::sio
