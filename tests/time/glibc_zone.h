#pragma once
// Sets the C library's TZ for a scope (native build), so that glibc's localtime_r can
// serve as an oracle of the same zone rules.
#if !defined(_WIN32)
#include <cstdlib>
#include <ctime>
#include <string>

namespace tambre::test {

class glibc_zone {
 public:
  explicit glibc_zone(const char* tz) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~glibc_zone() {
    if (had_)
      setenv("TZ", old_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  glibc_zone(const glibc_zone&) = delete;
  glibc_zone& operator=(const glibc_zone&) = delete;

 private:
  bool had_;
  std::string old_;
};

}  // namespace tambre::test
#endif
