#pragma once
// Where the driver's settings live: the port string in its configuration file (named by
// MakeFileName: beside the module, "[Modbus]", "Port="), the rest in the driver store of the
// registry (section "ModbusRTU": "Slave", "TimeoutMs", and the journal summary's schedule,
// "SummaryKind" as a timespec kind and "SummaryMinute" within its period).
#include <windows.h>

struct driver_settings {
  char config_file[MAX_PATH + 1] = "";
  char port[128] = "";
  int slave = 1;
  DWORD timeout_ms = 250;
  int summary_kind = 1;  // every minute
  int summary_minute = 0;
};

driver_settings load_settings(HMODULE module);

// Stores a new port string in the configuration file.
bool save_port(const driver_settings& settings, const char* port);
