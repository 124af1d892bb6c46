/* Everything tambre32.dll exports. */
#pragma once

#include "tambre32/net.h"
#include "tambre32/redundancy.h"
#include "tambre32/floattext.h"
#include "tambre32/formatpattern.h"
#include "tambre32/locale.h"
#include "tambre32/periods.h"
#include "tambre32/strutil.h"
#include "tambre32/timecore.h"
#include "tambre32/tmsmap.h"
#include "tambre32/encoding.h"
#include "tambre32/stringlist.h"
#include "tambre32/logfile.h"
#include "tambre32/strutil.h"
#include "tambre32/values.h"
#include "tambre32/xltable.h"
#include "tambre32/timetext.h"
#if defined(_WIN32)
#include "tambre32/automation.h"
#include "tambre32/codriver.h"
#include "tambre32/frame.h"
#include "tambre32/regfile.h"
#include "tambre32/settings.h"
#include "tambre32/io.h"
#include "tambre32/sio.h"
#include "tambre32/waits.h"
#endif
