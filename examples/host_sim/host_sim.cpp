// A host simulator for process drivers: it owns the host's main window (class
// "RPMODLESS...", message 1128), loads a driver module, passes it an init record with
// channel names and the host query function, prints what the driver delivers as a live
// table, and stops the driver cleanly.
//
//   host_sim.exe --driver PATH [--seconds N] [--cycle-ms N] [--record FILE]
//                [--project DIR] [--quiet]
//
// Commands on standard input: "write <type> <index> <value>" (ctAOut 1, ctDOut 4),
// "setup" (the driver's setup dialog), "quit". Without --seconds it runs until "quit".
//
// The record's name tables and the query function are 32-bit addresses: the program is
// linked to load below 4 GiB (see CMakeLists.txt), so its own data and code qualify.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "../modbus_driver/driver_entry.h"
#include "host_window.h"
#include "value_table.h"

namespace {

constexpr UINT kCommandMessage = WM_APP + 1;
constexpr UINT_PTR kRowTimer = 1;

// Channel names, 18-byte entries, as the host keeps them.
char analog_in[4][DRV_SHORT_NAME_SIZE] = {"Pegel", "Zulauf", "Ablauf", "Sollwert"};
char digital_in[3][DRV_SHORT_NAME_SIZE] = {"Pumpe1", "Pumpe2", "Hochalarm"};
char analog_out[1][DRV_SHORT_NAME_SIZE] = {"Sollwert"};
char digital_out[2][DRV_SHORT_NAME_SIZE] = {"Freigabe1", "Freigabe2"};
char project_name[] = "Pumpwerk Nord";
char project_directory[MAX_PATH] = "";

long cycle_ms = 500;
value_table* table = nullptr;
volatile long driver_state = DrvStatLoaded;

int WINAPI host_query(int code, DWORD_PTR /*parameter*/, int size, void* output) {
  if (!output) return 0;
  switch (code) {
    case 2:
      lstrcpynA(static_cast<char*>(output), project_name, size);
      return 1;
    case 12:
      if (size < 4) return 0;
      *static_cast<long*>(output) = driver_state;
      return 1;
    case 14:
      if (size < 4) return 0;
      *static_cast<long*>(output) = cycle_ms;
      return 1;
    case 15:
    case 17:
      if (size < 4) return 0;
      *static_cast<long*>(output) = 1;
      return 1;
    default:
      return 0;
  }
}

void DRV_ENTRY on_values(void*, const DrvValue* values, int count) { table->values(values, count); }
void DRV_ENTRY on_transaction(void*, unsigned long tid, int success, int outcome, double duration_ms, double answered) {
  table->transaction(tid, success, outcome, duration_ms, answered);
}
void DRV_ENTRY on_state(void*, long state) {
  driver_state = state;
  table->state(state);
}
void DRV_ENTRY on_message(void*, const char* text) {
  std::printf("Meldung: %s\n", text);
  std::fflush(stdout);
}

std::uint32_t low_address(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

DrvInitStruct init_record() {
  DrvInitStruct record{};
  record.projectId = 3;
  record.counts[0] = 4;  // ctAIn
  record.counts[1] = 1;  // ctAOut
  record.counts[2] = 3;  // ctDIn
  record.counts[3] = 2;  // ctDOut
  record.shortNames[0] = low_address(analog_in);
  record.shortNames[1] = low_address(analog_out);
  record.shortNames[2] = low_address(digital_in);
  record.shortNames[3] = low_address(digital_out);
  record.flags = DRV_FLAG_HOST_QUERY;
  record.hostQuery = low_address(reinterpret_cast<const void*>(&host_query));
  return record;
}

// Standard input, line by line, handed to the window's thread. An ended input (a terminal
// closed, /dev/null) only ends the reading. It reads the handle itself: the C run-time's
// stream lock, held by a waiting read, would stall the printing of the other threads.
void read_commands(HWND window) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char piece[256];
  DWORD n = 0;
  while (ReadFile(input, piece, sizeof piece, &n, nullptr) && n > 0) {
    pending.append(piece, n);
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
      PostMessageA(window, kCommandMessage, 0, reinterpret_cast<LPARAM>(_strdup(pending.substr(0, end).c_str())));
    }
  }
}

template <typename Procedure>
Procedure entry_point(HMODULE module, const char* name) {
  return reinterpret_cast<Procedure>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct options {
  std::string driver;
  double seconds = 0;
  std::string record;
  bool quiet = false;
};

bool parse(int argc, char** argv, options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--driver")
      o.driver = argv[i + 1];
    else if (name == "--seconds")
      o.seconds = std::atof(argv[i + 1]);
    else if (name == "--cycle-ms")
      cycle_ms = std::atol(argv[i + 1]);
    else if (name == "--record")
      o.record = argv[i + 1];
    else if (name == "--project")
      lstrcpynA(project_directory, argv[i + 1], sizeof project_directory);
    else
      return false;
  }
  return !o.driver.empty() && argc % 2 == 1;
}

}  // namespace

int main(int argc, char** argv) {
  options o;
  // --quiet stands alone: no table rows, only the lines that say what happened.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quiet") == 0) {
      o.quiet = true;
      for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
      --argc;
      break;
    }
  }
  if (!parse(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: host_sim --driver PATH [--seconds N] [--cycle-ms N] [--record FILE] "
                 "[--project DIR] [--quiet]\n");
    return 2;
  }
  if (!project_directory[0]) GetCurrentDirectoryA(sizeof project_directory, project_directory);
  FILE* record = o.record.empty() ? nullptr : std::fopen(o.record.c_str(), "w");
  value_table values({{ctAIn, 0, analog_in[0]},
                      {ctAIn, 1, analog_in[1]},
                      {ctAIn, 2, analog_in[2]},
                      {ctAIn, 3, analog_in[3]},
                      {ctDIn, 0, digital_in[0]},
                      {ctDIn, 1, digital_in[1]},
                      {ctDIn, 2, digital_in[2]},
                      {ctDOut, 0, digital_out[0]},
                      {ctDOut, 1, digital_out[1]}},
                     record);
  table = &values;

  HWND window = create_host_window(project_directory);
  HMODULE module = LoadLibraryA(o.driver.c_str());
  if (!window || !module) {
    std::printf("host_sim: cannot load %s (error %lu)\n", o.driver.c_str(), GetLastError());
    return 1;
  }
  auto start = entry_point<DrvStartProc>(module, "DrvStart");
  auto write_output = entry_point<DrvWriteOutputProc>(module, "DrvWriteOutput");
  auto setup = entry_point<DrvSetupProc>(module, "DrvSetup");
  auto stop = entry_point<DrvStopProc>(module, "DrvStop");
  if (!start || !write_output || !setup || !stop) {
    std::printf("host_sim: %s lacks the driver entry points\n", o.driver.c_str());
    return 1;
  }
  const DrvInitStruct record_for_driver = init_record();
  const DrvHostCallbacks callbacks = {nullptr, on_values, on_transaction, on_state, on_message};
  if (!start(&record_for_driver, &callbacks)) {
    std::printf("host_sim: the driver did not start\n");
    return 1;
  }
  std::printf("host_sim: driver running (project \"%s\", cycle %ld ms)\n", project_name, cycle_ms);
  std::fflush(stdout);
  if (!o.quiet) values.print_header();
  const ULONGLONG started = GetTickCount64();
  std::thread(read_commands, window).detach();
  SetTimer(window, kRowTimer, 1000, nullptr);

  MSG message;
  bool running = true;
  while (running && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.wParam == kRowTimer) {
      if (!o.quiet) values.print_row();
      if (o.seconds > 0 && GetTickCount64() - started >= static_cast<ULONGLONG>(o.seconds * 1000)) running = false;
      continue;
    }
    if (message.message == kCommandMessage) {
      char* line = reinterpret_cast<char*>(message.lParam);
      long type = 0, index = 0;
      double value = 0;
      if (std::sscanf(line, "write %ld %ld %lf", &type, &index, &value) == 3) {
        std::printf("host_sim: write %s\n", write_output(type, index, value) ? "queued" : "refused");
      } else if (std::strncmp(line, "setup", 5) == 0) {
        std::printf("host_sim: setup %d\n", setup(window));
      } else if (std::strncmp(line, "quit", 4) == 0) {
        running = false;
      } else {
        std::printf("host_sim: unknown command\n");
      }
      std::fflush(stdout);
      std::free(line);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  const double seconds = (GetTickCount64() - started) / 1000.0;
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  stop();
  QueryPerformanceCounter(&after);
  const double stop_ms = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) / frequency.QuadPart;
  values.print_summary(seconds);
  std::printf("host_sim: driver stopped in %.0f ms\n", stop_ms);
  std::fflush(stdout);
  if (record) std::fprintf(record, "stopped %.3f\n", stop_ms), std::fclose(record);
  FreeLibrary(module);
  DestroyWindow(window);
  return 0;
}
