#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace tambre::test {

temp_dir::temp_dir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("tambre-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (std::filesystem::create_directory(path_, ec)) return;
  }
}

temp_dir::~temp_dir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string temp_dir::file(const std::string& name) const { return (path_ / name).string(); }

}  // namespace tambre::test
