// A host of one driver object, reduced to a console program: it hands the driver an init
// record with channel names, publishes the object to COM (file moniker, type information,
// server registration, channel counts) and then follows commands on its standard input,
// answering each with one line on its standard output:
//
//   transaction <tid> <success 0|1> <extra>   reports a finished transaction to every sink
//   quit                                       stops the object (sinks get Terminate) and ends
//
// Clients in other processes reach the object by its ProgID "ProcessDriver.Server".
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "tambre32/codriver.h"

namespace {

constexpr int kInputs = 3;
constexpr int kOutputs = 2;

// The record's table fields are 32-bit addresses, as a 32-bit host passes them: on x64
// the tables must lie below 4 GiB.
unsigned char* block_below_4gib(std::size_t size) {
#if defined(_WIN64)
  for (std::uintptr_t at = 0x20000000; at < 0xF0000000u; at += 0x10000) {
    if (void* block = VirtualAlloc(reinterpret_cast<void*>(at), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)) {
      return static_cast<unsigned char*>(block);
    }
  }
  return nullptr;
#else
  return static_cast<unsigned char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#endif
}

std::uint32_t address_of(const void* table) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(table));
}

// count names "<prefix>1", "<prefix>2", ... in entries of the short-name size.
void write_names(unsigned char* table, int count, const char* prefix) {
  for (int i = 0; i < count; ++i) {
    std::snprintf(reinterpret_cast<char*>(table + i * DRV_SHORT_NAME_SIZE), DRV_SHORT_NAME_SIZE, "%s%d", prefix, i + 1);
  }
}

void answer(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

}  // namespace

int main() {
  // Events are sent from this thread to sinks that subscribed through the server's
  // multithreaded apartment.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);

  unsigned char* names = block_below_4gib(4096);
  if (!names) {
    answer("no memory below 4 GiB");
    return 1;
  }
  unsigned char* inputs = names;
  unsigned char* outputs = names + 1024;
  write_names(inputs, kInputs, "Pumpe");
  write_names(outputs, kOutputs, "Ventil");

  // The record's four basic tables run analog in, analog out, digital in, digital out.
  constexpr int kAnalogIn = 0, kDigitalOut = 3;
  DrvInitStruct record{};
  record.projectId = 42;
  record.counts[kAnalogIn] = kInputs;
  record.counts[kDigitalOut] = kOutputs;
  record.shortNames[kAnalogIn] = address_of(inputs);
  record.shortNames[kDigitalOut] = address_of(outputs);

  auto* driver = new CoDriver;
  driver->SetClassName("Klaeranlage");
  driver->ForwardInit(&record);
  const int flags = DRV_RUN_FILE_MONIKER | DRV_RUN_TYPE_INFO | DRV_RUN_REGISTER | DRV_RUN_CHANNEL_COUNTS;
  if (!driver->RunObject(flags, nullptr)) {
    answer("not running");
    CoDriver::Destroy(driver);
    return 1;
  }
  answer("running");

  char line[256];
  while (std::fgets(line, sizeof line, stdin)) {
    long tid = 0, success = 0, extra = 0;
    if (std::sscanf(line, "transaction %ld %ld %ld", &tid, &success, &extra) == 3) {
      // The word carries the transaction id; the low half of the value the success flag,
      // the high half the extra information.
      const auto value = static_cast<LPARAM>((static_cast<DWORD>(extra) << 16) | (success ? 1u : 0u));
      driver->NotifySinks(EID_TRANSACTIONCOMPLETED, nullptr, static_cast<WPARAM>(tid), value);
      answer("reported");
    } else if (std::strncmp(line, "quit", 4) == 0) {
      break;
    } else {
      answer("unknown command");
    }
  }
  // Destroy stops the server thread, which sends Terminate to every sink.
  CoDriver::Destroy(driver);
  answer("stopped");
  VirtualFree(names, 0, MEM_RELEASE);
  CoUninitialize();
  return 0;
}
