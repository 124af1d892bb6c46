// Shared data files in the native build.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>

#include "res/string_table.h"
#include "sys/platform.h"

namespace tambre::sys {

std::FILE* open_shared_file(const char* path, bool create) { return std::fopen(path, create ? "w+b" : "r+b"); }

bool seek_file(std::FILE* file, std::int64_t offset, int origin) {
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

std::int64_t file_position(std::FILE* file) { return static_cast<std::int64_t>(ftello(file)); }

file_turn::file_turn(std::FILE* file) : file_(file), taken_(false) {
  if (file_ == nullptr || std::fflush(file_) != 0) return;
  taken_ = flock(fileno(file_), LOCK_EX) == 0;
}

file_turn::~file_turn() {
  if (!taken_) return;
  std::fflush(file_);
  flock(fileno(file_), LOCK_UN);
}

bool append_block(std::FILE* file, const char* data, std::size_t size) {
  if (std::fflush(file) != 0) return false;
  const int fd = fileno(file);
  const off_t end = lseek(fd, 0, SEEK_END);
  if (end < 0) return false;
  char last = '\n';
  bool ok = true;
  if (end > 0 && pread(fd, &last, 1, end - 1) == 1 && last != '\n') ok = pwrite(fd, "\r\n", 2, end) == 2;
  const off_t at = end + (ok && last != '\n' ? 2 : 0);
  ok = ok && pwrite(fd, data, size, at) == static_cast<ssize_t>(size);
  return seek_file(file, 0, SEEK_END) && ok;
}

std::size_t read_file_at(std::FILE* file, std::int64_t offset, char* buffer, std::size_t size) {
  if (offset < 0 || std::fflush(file) != 0) return 0;
  const int fd = fileno(file);
  std::size_t total = 0;
  while (total < size) {
    const ssize_t got = pread(fd, buffer + total, size - total, static_cast<off_t>(offset) + static_cast<off_t>(total));
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

bool truncate_file(std::FILE* file, std::int64_t size) {
  if (std::fflush(file) != 0) return false;
  return ftruncate(fileno(file), static_cast<off_t>(size)) == 0;
}

bool module_file_name(void*, char* buffer, std::size_t size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  return false;
}

// The native build has one string table, the library's own.
std::size_t load_module_string(void*, unsigned id, char* buffer, std::size_t size) {
  return load_library_string(id, buffer, size);
}

}  // namespace tambre::sys
