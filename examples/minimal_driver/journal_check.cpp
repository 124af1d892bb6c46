// Records two values through the driver and reads the last entry back through the
// library: its number follows the first, its value scans back, its CRC line matches.
// Prints "journal_check: ok" and exits 0, or says what differed and exits 1.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "minimal_driver.h"
#include "tambre32.h"

int main(int argc, char** argv) {
  const char* journal = argc > 1 ? argv[1] : "minimal_driver.log";
  std::remove(journal);
  long first = RecordMeasurement(journal, "K1", 12.5);
  long second = RecordMeasurement(journal, "K2", -3.25);
  if (first < 1 || second != first + 1) {
    std::printf("journal_check: entry numbers %ld, %ld\n", first, second);
    return 1;
  }

  LogFile log;
  log.SetFileName(journal);
  StringList lines;
  if (!log.Open() || !log.GetItems(lines, second, second) || lines.GetCount() != 3) {
    std::printf("journal_check: entry %ld not read back\n", second);
    return 1;
  }
  char field[80];
  std::snprintf(field, sizeof field, "%s", lines[1]);
  // The journal hands its lines back with the line end as a blank.
  for (std::size_t n = std::strlen(field); n > 0 && std::isspace(static_cast<unsigned char>(field[n - 1])); --n) {
    field[n - 1] = '\0';
  }
  char crc[32];
  std::snprintf(crc, sizeof crc, "CRC %04X", CRC16(field, static_cast<int>(std::strlen(field))));
  int error = 1;
  double value = ScanFloat(field, 0, &error);
  if (std::strstr(lines[0], "Messwert K2") == nullptr || error != 0 || value != -3.25 ||
      std::strncmp(lines[2], crc, std::strlen(crc)) != 0) {
    std::printf("journal_check: entry read back as \"%s\" \"%s\" \"%s\" (value %g, error %d)\n", lines[0], lines[1],
                lines[2], value, error);
    return 1;
  }
  std::printf("journal_check: ok\n");
  return 0;
}
