#include "redundancy/settings_section.h"

#include <cstdio>

namespace tambre::redundancy {

namespace {

constexpr std::size_t kMaxModuleName = 63;

}  // namespace

std::string settings_section(std::string_view module_path, short index) {
  const std::size_t directory_end = module_path.find_last_of("\\/:");
  std::string_view name = directory_end == std::string_view::npos ? module_path : module_path.substr(directory_end + 1);
  name = name.substr(0, name.find('.'));
  // An over-long name keeps the section fixed (".Redundancy") rather than cutting it at an
  // arbitrary place that another module could share.
  if (name.size() > kMaxModuleName) name = std::string_view();
  char section[kMaxModuleName + 32];
  if (index >= 1) {
    std::snprintf(section, sizeof section, "%.*s#%hi.Redundancy", static_cast<int>(name.size()), name.data(), index);
  } else {
    std::snprintf(section, sizeof section, "%.*s.Redundancy", static_cast<int>(name.size()), name.data());
  }
  return section;
}

}  // namespace tambre::redundancy
