#pragma once
#include "tambre32/codriver.h"

namespace tambre::codriver {

// Registration of the server when the run flags ask for it: quiet, and nothing is written
// while the registration is current.
HRESULT register_server_when_asked(CoDriver& driver);

}  // namespace tambre::codriver
