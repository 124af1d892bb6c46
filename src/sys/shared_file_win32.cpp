// Shared data files on Windows.
#include <io.h>
#include <share.h>
#include <windows.h>

#include <cstring>

#include "sys/platform.h"

namespace tambre::sys {

std::FILE* open_shared_file(const char* path, bool create) { return _fsopen(path, create ? "w+b" : "r+b", _SH_DENYNO); }

bool seek_file(std::FILE* file, std::int64_t offset, int origin) { return _fseeki64(file, offset, origin) == 0; }

std::int64_t file_position(std::FILE* file) { return _ftelli64(file); }

namespace {

HANDLE file_handle(std::FILE* file) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))); }

// The byte whose lock is the turn: far past any end of file, where nobody reads or writes.
OVERLAPPED turn_byte() {
  OVERLAPPED at{};
  at.OffsetHigh = 0x7FFFFFFFu;
  return at;
}

OVERLAPPED at_offset(LONGLONG offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

}  // namespace

file_turn::file_turn(std::FILE* file) : file_(file), taken_(false) {
  if (file_ == nullptr || std::fflush(file_) != 0) return;
  const HANDLE handle = file_handle(file_);
  OVERLAPPED at = turn_byte();
  taken_ = handle != INVALID_HANDLE_VALUE && LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at);
}

file_turn::~file_turn() {
  if (!taken_) return;
  std::fflush(file_);
  OVERLAPPED at = turn_byte();
  UnlockFileEx(file_handle(file_), 0, 1, 0, &at);
}

bool append_block(std::FILE* file, const char* data, std::size_t size) {
  if (std::fflush(file) != 0 || size > 0xFFFFFFFFu) return false;
  const HANDLE handle = file_handle(file);
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end{};
  DWORD written = 0;
  bool ok = GetFileSizeEx(handle, &end);
  if (ok) {
    char last = '\n';
    DWORD got = 0;
    OVERLAPPED before = at_offset(end.QuadPart - 1);
    if (end.QuadPart > 0 && ReadFile(handle, &last, 1, &got, &before) && got == 1 && last != '\n') {
      OVERLAPPED at = at_offset(end.QuadPart);
      ok = WriteFile(handle, "\r\n", 2, &written, &at) && written == 2;
      end.QuadPart += 2;
    }
    OVERLAPPED at = at_offset(end.QuadPart);
    ok = ok && WriteFile(handle, data, static_cast<DWORD>(size), &written, &at) && written == size;
  }
  return seek_file(file, 0, SEEK_END) && ok;
}

// Through the stream: the C runtime keeps its own idea of the handle's position.
std::size_t read_file_at(std::FILE* file, std::int64_t offset, char* buffer, std::size_t size) {
  if (!seek_file(file, offset, SEEK_SET)) return 0;
  return std::fread(buffer, 1, size, file);
}

bool truncate_file(std::FILE* file, std::int64_t size) {
  if (std::fflush(file) != 0) return false;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER at;
  at.QuadPart = size;
  return SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
}

bool module_file_name(void* module, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return false;
  buffer[0] = '\0';
  DWORD n = GetModuleFileNameA(static_cast<HMODULE>(module), buffer, static_cast<DWORD>(size));
  if (n == 0) return false;
  buffer[size - 1] = '\0';
  return true;
}

std::size_t load_module_string(void* module, unsigned id, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  buffer[0] = '\0';
  int n =
      LoadStringA(static_cast<HINSTANCE>(module), id, buffer, static_cast<int>(size > 0x7fffffff ? 0x7fffffff : size));
  if (n <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(n);
}

}  // namespace tambre::sys
