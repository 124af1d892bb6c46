#pragma once
// What the frame tests share: a capturing message-output callback and copies of the
// library under other file names (each copy a module with its own state).
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tambre32/api.h"

namespace frame_test {

struct captured_messages {
  static inline std::mutex lock;
  static inline std::vector<std::string> texts;
  static void TAMBRE_CDECL callback(const char* text) {
    std::lock_guard<std::mutex> guard(lock);
    texts.emplace_back(text);
  }
  static std::vector<std::string> take() {
    std::lock_guard<std::mutex> guard(lock);
    return std::move(texts);
  }
};

// Copies tambre32.dll to `name` in `dir` and loads the copy.
HMODULE load_library_copy(const tambre::test::temp_dir& dir, const std::string& name, const std::string& load_as = "");

// The system's own text for a code, as FormatMessageA gives it.
std::string system_text(DWORD code);

}  // namespace frame_test
