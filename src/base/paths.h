#pragma once
// Windows paths as the library handles them: '\' separates folders.
#include <cstring>

namespace tambre::base {

// The file part of `path`: what follows its last '\', or the whole path when it has none.
inline const char* file_part(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}
inline char* file_part(char* path) { return const_cast<char*>(file_part(static_cast<const char*>(path))); }

}  // namespace tambre::base
