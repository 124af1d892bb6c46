#pragma once
// The mapping of Windows version records to version codes, names and the answers of the
// version questions. Pure: the record comes in as a value.
#include <cstdint>

#include "sys/os_version.h"

namespace tambre::services {

// -1 Windows Me ... 14 a later Windows than the table knows; 0 for an unknown platform.
int version_code(const sys::os_version& version);
// The display name of a version code; codes outside the table get the name of code 0.
const char* version_name(int code);
// The answer to question `selector`; `wow64` is asked only for selector 19.
int version_param(const sys::os_version& version, int selector, int (*wow64)());
// Selector 1: the service-pack text of `version`; 2: the build number (its low 16 bits on
// the 9x family); 3: major, 4: minor version; any other: the name of the version code.
std::intptr_t version_name_answer(const sys::os_version& version, int selector);

}  // namespace tambre::services
