#include "frame/message_out.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "frame/frame_text.h"
#include "tambre32/frame.h"

namespace tambre::frame {

namespace {

// One process-wide callback, installed once by a driver and read from any thread.
std::atomic<TambreMessageOutProc> installed_callback{nullptr};
// How often the installed callback was installed, less the null calls. Nothing reads it
// to remove the callback: drivers install one at start-up and expect it to stay.
std::atomic<int> install_count{0};

constexpr std::size_t kMessageOutSize = 312;
constexpr std::size_t kResourceTextSize = 512;
constexpr std::size_t kResourceOutSize = 768;

}  // namespace

int message_out_v(const char* format, va_list args) {
  TambreMessageOutProc callback = installed_callback.load();
  if (callback == nullptr) return -1;
  char text[kMessageOutSize];
  int n = std::vsnprintf(text, sizeof text, format ? format : "", args);
  if (n < 0) text[0] = '\0';
  callback(text);
  return n >= 0 && static_cast<std::size_t>(n) < sizeof text ? n : -1;
}

}  // namespace tambre::frame

using namespace tambre::frame;

TAMBRE_EXPORT(void, TAMBRE_STDCALL) SetMessageOut(TambreMessageOutProc callback) {
  if (callback == nullptr) {
    int count = install_count.load();
    while (count > 0 && !install_count.compare_exchange_weak(count, count - 1)) {
    }
    return;
  }
  if (installed_callback.exchange(callback) == callback) {
    ++install_count;
  } else {
    install_count = 1;
  }
}

TAMBRE_EXPORT(int, TAMBRE_CDECL) MessageOut(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = message_out_v(format, args);
  va_end(args);
  return n;
}

TAMBRE_EXPORT(void, TAMBRE_CDECL) ResourceMessageOut(HINSTANCE instance, UINT id, ...) {
  TambreMessageOutProc callback = installed_callback.load();
  if (callback == nullptr) return;
  char format[kResourceTextSize];
  if (LoadStringA(instance, id, format, sizeof format) <= 0) return;

  char path[kResourceOutSize] = "";
  GetModuleFileNameA(instance, path, sizeof path);
  path[sizeof path - 1] = '\0';
  char text[kResourceOutSize];
  std::size_t prefix = module_prefix(path, text, sizeof text);

  va_list args;
  va_start(args, id);
  // A C++ exception thrown while formatting or by the callback stops here. An access
  // violation is no C++ exception with this compiler: it is not caught and ends the process.
  try {
    std::vsnprintf(text + prefix, sizeof text - prefix, format, args);
    callback(text);
  } catch (...) {
  }
  va_end(args);
}
