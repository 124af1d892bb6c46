#pragma once
// RAII owners of Win32 resources. Every module takes its handles from here, so no
// function ends in a ladder of CloseHandle calls.

#include <windows.h>

#include <utility>

namespace tambre::sys {

// Owns a value that Traits::close releases unless it equals Traits::invalid().
template <typename Traits>
class unique_resource {
 public:
  using value_type = typename Traits::value_type;

  unique_resource() = default;
  explicit unique_resource(value_type value) : value_(value) {}
  unique_resource(const unique_resource&) = delete;
  unique_resource& operator=(const unique_resource&) = delete;
  unique_resource(unique_resource&& other) noexcept : value_(other.release()) {}
  unique_resource& operator=(unique_resource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_resource() { reset(); }

  value_type get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::invalid(); }
  value_type release() { return std::exchange(value_, Traits::invalid()); }
  void reset(value_type value = Traits::invalid()) {
    if (value_ != Traits::invalid()) Traits::close(value_);
    value_ = value;
  }
  // For out-parameters of the API: releases the old value first.
  value_type* put() {
    reset();
    return &value_;
  }

 private:
  value_type value_ = Traits::invalid();
};

namespace detail {
template <typename T, auto Close>
struct null_is_invalid {
  using value_type = T;
  static T invalid() { return nullptr; }
  static void close(T value) { Close(value); }
};
struct find_traits {
  using value_type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE value) { FindClose(value); }
};
struct file_traits {
  using value_type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE value) { CloseHandle(value); }
};
}  // namespace detail

// A kernel object handle (thread, event, mutex): null means none.
using unique_handle = unique_resource<detail::null_is_invalid<HANDLE, CloseHandle>>;
// A file or device handle: INVALID_HANDLE_VALUE means none.
using unique_file = unique_resource<detail::file_traits>;
// A file search from FindFirstFile: INVALID_HANDLE_VALUE means none.
using find_handle = unique_resource<detail::find_traits>;
// Memory from LocalAlloc, FormatMessage's allocated texts among them.
using local_memory = unique_resource<detail::null_is_invalid<HLOCAL, LocalFree>>;
// A block from GlobalAlloc (clipboard data, resource copies) until ownership passes on.
using global_memory = unique_resource<detail::null_is_invalid<HGLOBAL, GlobalFree>>;
// A library from LoadLibrary.
using unique_module = unique_resource<detail::null_is_invalid<HMODULE, FreeLibrary>>;
// A registry key from RegCreateKeyEx or RegOpenKeyEx; never holds a predefined root.
using reg_key = unique_resource<detail::null_is_invalid<HKEY, RegCloseKey>>;

// An unnamed event of its own, created on construction (not signalled); manual-reset
// unless asked otherwise. Empty when the system could not create it.
class unique_event {
 public:
  explicit unique_event(bool manual_reset = true) : handle_(CreateEventA(nullptr, manual_reset, FALSE, nullptr)) {}
  HANDLE get() const { return handle_.get(); }
  explicit operator bool() const { return static_cast<bool>(handle_); }
  void set() const { SetEvent(handle_.get()); }
  void reset() const { ResetEvent(handle_.get()); }

 private:
  unique_handle handle_;
};

}  // namespace tambre::sys
