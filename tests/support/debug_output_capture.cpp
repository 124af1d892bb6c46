#include "support/debug_output_capture.h"

#include <mutex>

namespace tambre::test {

namespace {

constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C

std::mutex capture_lock;
std::vector<std::string> captured;
DWORD swallow_code = 0;
int swallow_count = 0;

LONG CALLBACK on_exception(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  std::lock_guard<std::mutex> lock(capture_lock);
  if (record->ExceptionCode == kDebugPrint && record->NumberParameters >= 2) {
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    if (text != nullptr && length > 0) captured.emplace_back(text, length - 1);
    return EXCEPTION_CONTINUE_SEARCH;
  }
  if (swallow_code != 0 && record->ExceptionCode == swallow_code) {
    ++swallow_count;
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

debug_output_capture::debug_output_capture(DWORD swallow) {
  {
    std::lock_guard<std::mutex> lock(capture_lock);
    captured.clear();
    swallow_code = swallow;
    swallow_count = 0;
  }
  handler_ = AddVectoredExceptionHandler(1, on_exception);
}

debug_output_capture::~debug_output_capture() { RemoveVectoredExceptionHandler(handler_); }

std::vector<std::string> debug_output_capture::lines() const {
  std::lock_guard<std::mutex> lock(capture_lock);
  return captured;
}

int debug_output_capture::swallowed() const {
  std::lock_guard<std::mutex> lock(capture_lock);
  return swallow_count;
}

}  // namespace tambre::test
