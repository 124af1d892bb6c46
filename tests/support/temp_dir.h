#pragma once
#include <filesystem>
#include <string>

namespace tambre::test {

// A fresh directory under the system's temporary directory, removed with its contents
// when the object goes.
class temp_dir {
 public:
  temp_dir();
  ~temp_dir();
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the directory, as a narrow string for the 8-bit API.
  std::string file(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace tambre::test
