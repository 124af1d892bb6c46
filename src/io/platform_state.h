#pragma once
// The platform flags of the hardware layer: read when the access mode is chosen and kept
// for the process.

#include "io/hardware_seams.h"

namespace tambre::io {

// The flags as last read (read now when they never were).
platform_version platform();
// Reads the platform version again; a fallback to the older device stays in force.
platform_version refresh_platform();
// From now on the platform counts as NT before version 5 (the older device's fallback).
void treat_as_pre_nt5();
// Forgets the flags and the fallback, for tests that start over.
void reset_platform_state();

}  // namespace tambre::io
