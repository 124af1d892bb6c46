// Registry files into the registry: the text comes from a file or a "REGFILE" resource,
// the portable walk reads it, and this store writes or deletes the keys it names.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "config/reg_file_walk.h"
#include "string_ids.h"
#include "sys/handles.h"
#include "sys/module_instance.h"
#include "tambre32/frame.h"
#include "tambre32/regfile.h"

namespace {

using tambre::config::reg_root;
using tambre::sys::reg_key;

HKEY root_key(reg_root root) {
  switch (root) {
    case reg_root::classes_root:
      return HKEY_CLASSES_ROOT;
    case reg_root::current_user:
      return HKEY_CURRENT_USER;
    case reg_root::local_machine:
      break;
  }
  return HKEY_LOCAL_MACHINE;
}

class registry_store final : public tambre::config::reg_store {
 public:
  std::int32_t open_key(reg_root root, const std::string& path) override {
    char no_class[] = "";
    HKEY key = nullptr;
    const LONG code = RegCreateKeyExA(root_key(root), path.c_str(), 0, no_class, REG_OPTION_NON_VOLATILE,
                                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (code == ERROR_SUCCESS) key_.reset(key);
    return code;
  }
  void close_key() override { key_.reset(); }
  std::int32_t set_text(const std::string& name, const std::string& text) override {
    return set(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  std::int32_t set_dword(const std::string& name, std::uint32_t value) override {
    const DWORD data = value;
    return set(name, REG_DWORD, &data, sizeof data);
  }
  bool key_exists(reg_root root, const std::string& path) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_key(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    const reg_key opened(key);
    return true;
  }
  std::int32_t delete_tree(reg_root root, const std::string& path) override {
    return RegDeleteTreeA(root_key(root), path.c_str());
  }

 private:
  std::int32_t set(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (!key_) return ERROR_INVALID_HANDLE;
    return RegSetValueExA(key_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  }
  reg_key key_;
};

struct file_closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole text, zero-terminated; null with `error` set when it could not be had.
struct registry_text {
  std::unique_ptr<char[]> text;
  std::int32_t error = ERROR_SUCCESS;
};

registry_text failed(std::int32_t error) {
  registry_text result;
  result.error = error;
  return result;
}

registry_text allocate_text(std::size_t size) {
  registry_text result;
  result.text.reset(new (std::nothrow) char[size + 1]);
  if (!result.text) return failed(ERROR_NOT_ENOUGH_MEMORY);
  return result;
}

// Binary mode: the line reader sees CR LF as it is in the file.
registry_text read_file(const char* path) {
  if (path == nullptr) return failed(ERROR_OPEN_FAILED);
  std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, "rb"));
  if (!file) return failed(ERROR_OPEN_FAILED);
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return failed(ERROR_OPEN_FAILED);
  const long size = std::ftell(file.get());
  if (size < 0) return failed(ERROR_OPEN_FAILED);
  std::rewind(file.get());
  registry_text result = allocate_text(static_cast<std::size_t>(size));
  if (!result.text) return result;
  const std::size_t read = std::fread(result.text.get(), 1, static_cast<std::size_t>(size), file.get());
  result.text[read] = '\0';
  return result;
}

registry_text read_resource(HMODULE module, const char* name) {
  if (name == nullptr) return failed(ERROR_FILE_NOT_FOUND);
  HRSRC found = FindResourceA(module, name, "REGFILE");
  if (found == nullptr) return failed(ERROR_FILE_NOT_FOUND);
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
  if (data == nullptr) return failed(ERROR_NOT_ENOUGH_MEMORY);
  registry_text result = allocate_text(size);
  if (!result.text) return result;
  std::memcpy(result.text.get(), data, size);
  result.text[size] = '\0';
  return result;
}

void show_failure(HMODULE module, const char* name, const tambre::config::reg_outcome& outcome) {
  const char* shown = name == nullptr ? "" : name;
  if (module != nullptr && IS_INTRESOURCE(name)) shown = "RESOURCE_ID";
  char reason[512];
  GetSysError(reason, sizeof reason, static_cast<DWORD>(outcome.code));
  // A warning with an OK button, like the message of a failed server registration.
  ResourceMessageBox(tambre::sys::module_instance(), IDS_REGFILE_IMPORT_FAILED, MB_OK | MB_ICONEXCLAMATION, shown,
                     outcome.line, static_cast<int>(outcome.code), reason);
}

}  // namespace

TAMBRE_EXPORT(LONG, TAMBRE_STDCALL) ImportRegFile(HMODULE module, const char* name, int showErrors, int remove) {
  const registry_text text = module == nullptr ? read_file(name) : read_resource(module, name);
  tambre::config::reg_outcome outcome;
  if (!text.text) {
    outcome.code = text.error;  // line 0: nothing was read
  } else {
    registry_store store;
    outcome = tambre::config::run_reg_text(text.text.get(), store, remove != 0);
  }
  if (outcome.code != ERROR_SUCCESS && showErrors != 0) show_failure(module, name, outcome);
  return outcome.code;
}
