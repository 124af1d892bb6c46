/* Everything tambre32.dll exports. */
#pragma once

#include "tambre32/strutil.h"
#if defined(_WIN32)
#include "tambre32/automation.h"
#include "tambre32/codriver.h"
#include "tambre32/frame.h"
#include "tambre32/waits.h"
#endif
