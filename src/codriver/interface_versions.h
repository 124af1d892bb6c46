#pragma once
#include "tambre32/codriver.h"

namespace tambre::codriver {

// The standard automation marshaller finds an interface's type library through the
// "Version" value of Interface\{iid}\TypeLib; the registration template names only the
// library's id. These add that value, for every interface of the type library file at
// `path` whose TypeLib key exists, with the driver's version as "major.minor".
LONG add_interface_versions(const CoDriver& driver, const char* path);

// True when the driver's own interface carries that value.
bool interface_version_present(const CoDriver& driver);

}  // namespace tambre::codriver
