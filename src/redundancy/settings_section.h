#pragma once
// The settings-store section that keeps one driver module's redundancy settings.
#include <string>
#include <string_view>

namespace tambre::redundancy {

// "<name>.Redundancy", or "<name>#<index>.Redundancy" for an index of 1 or more, where
// <name> is the module's file name without directory and without anything from its first
// '.'. A name longer than 63 characters is left out.
std::string settings_section(std::string_view module_path, short index);

}  // namespace tambre::redundancy
