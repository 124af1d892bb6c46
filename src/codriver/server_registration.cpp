#include "codriver/server_registration.h"

namespace tambre::codriver {

HRESULT register_server_when_asked(CoDriver&) { return S_OK; }

}  // namespace tambre::codriver
