#pragma once
#include "tambre32/codriver.h"

namespace tambre::codriver {

// Registration of the server when the run flags ask for it. The registry template and the
// type library file are not written yet: this reports success and changes nothing.
HRESULT register_server_when_asked(CoDriver& driver);

}  // namespace tambre::codriver
