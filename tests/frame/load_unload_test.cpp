// Cycles of LoadLibrary, a call by name and FreeLibrary on a copy of the DLL (not linked
// here) leave no handle, slot or memory behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "support/dll_proc.h"
#include "support/temp_dir.h"
#include "tambre32/strutil.h"

namespace {

std::string library_beside_this_program() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/") + 1) + "tambre32.dll";
}

// Wine hands out the lowest free handle slot: a handle left open shows as a higher value.
std::uintptr_t fresh_handle_value() {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const auto value = reinterpret_cast<std::uintptr_t>(event);
  CloseHandle(event);
  return value;
}

DWORD fresh_tls_slot() {
  const DWORD slot = TlsAlloc();
  TlsFree(slot);
  return slot;
}

std::size_t committed_private_bytes() {
  std::size_t total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (const char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;
       at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
  }
  return total;
}

// Keeps the DLL's imports loaded, as a host does (Wine's print spooler leaks a named mutex
// on each of its own loads).
void pin_imports(const std::string& copy) {
  HMODULE module = LoadLibraryA(copy.c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + entry.VirtualAddress);
       import->Name != 0; ++import) {
    ASSERT_NE(LoadLibraryA(reinterpret_cast<const char*>(base + import->Name)), nullptr);
  }
  ASSERT_TRUE(FreeLibrary(module));
}

void cycle(const std::string& copy, int times) {
  for (int i = 0; i < times; ++i) {
    HMODULE module = LoadLibraryA(copy.c_str());
    ASSERT_NE(module, nullptr) << GetLastError();
    auto copy_text = tambre::test::dll_proc<decltype(&strxcpy)>(module, "strxcpy");
    ASSERT_NE(copy_text, nullptr);
    char out[8];
    ASSERT_STREQ(copy_text(out, "Zyklus", sizeof out), "Zyklus");
    ASSERT_TRUE(FreeLibrary(module));
  }
}

TEST(LoadUnload, ManyCyclesLeaveNoHandleNoSlotAndNoMemory) {
  tambre::test::temp_dir dir;
  const std::string copy = dir.file("tambre32_cycle.dll");
  ASSERT_TRUE(CopyFileA(library_beside_this_program().c_str(), copy.c_str(), FALSE)) << GetLastError();
  pin_imports(copy);
  cycle(copy, 10);
  const std::uintptr_t handle_before = fresh_handle_value();
  const DWORD slot_before = fresh_tls_slot();
  const std::size_t memory_before = committed_private_bytes();
  cycle(copy, 50);
  EXPECT_LE(fresh_handle_value(), handle_before + 4 * 4) << "handle slots are 4 apart: one a cycle adds 200";
  EXPECT_EQ(fresh_tls_slot(), slot_before);
  EXPECT_LE(committed_private_bytes(), memory_before + 64 * 1024) << "a few heap pages, not a few KiB a cycle";
}

}  // namespace
