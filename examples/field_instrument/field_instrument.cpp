// A simulated field instrument: the Modbus RTU slave of a small pumping station on a serial
// line (in the demo, the far end of a pseudo-terminal pair). Its input registers follow the
// known function of pump_station_model.h; its holding registers keep what is written.
//
//   field_instrument --device PATH [--baud 9600] [--address 1] [--mode normal|silent|badcrc]
//                    [--delay-ms N] [--control FILE] [--owner PID]
//
// Faults: "silent" answers nothing, "badcrc" answers with a wrong checksum, a delay makes
// every answer late. The control file, read again whenever it changes, holds one line
// "<mode> [delay-ms]" and switches faults while the instrument runs. With --owner the
// instrument ends when that process is gone. On SIGINT or SIGTERM it prints its counts.
#include <errno.h>
#include <modbus/modbus.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "pump_station_model.h"

namespace {

enum class mode { normal, silent, bad_crc };

struct settings {
  std::string device;
  int baud = 9600;
  int address = 1;
  mode answer = mode::normal;
  int delay_ms = 0;
  std::string control;
  long owner = 0;
};

volatile sig_atomic_t stop_requested = 0;
void request_stop(int) { stop_requested = 1; }

bool parse_mode(const char* text, mode& out) {
  if (std::strcmp(text, "normal") == 0)
    out = mode::normal;
  else if (std::strcmp(text, "silent") == 0)
    out = mode::silent;
  else if (std::strcmp(text, "badcrc") == 0)
    out = mode::bad_crc;
  else
    return false;
  return true;
}

// Reads the control file when its modification time changed since the last look.
void follow_control_file(settings& s, timespec& seen) {
  if (s.control.empty()) return;
  struct stat info {};
  if (stat(s.control.c_str(), &info) != 0) return;
  if (info.st_mtim.tv_sec == seen.tv_sec && info.st_mtim.tv_nsec == seen.tv_nsec) return;
  seen = info.st_mtim;
  FILE* file = std::fopen(s.control.c_str(), "r");
  if (!file) return;
  char word[32] = "";
  int delay = 0;
  const int fields = std::fscanf(file, "%31s %d", word, &delay);
  std::fclose(file);
  mode m;
  if (fields >= 1 && parse_mode(word, m)) {
    s.answer = m;
    s.delay_ms = fields == 2 ? delay : 0;
    std::fprintf(stderr, "field_instrument: mode %s, delay %d ms\n", word, s.delay_ms);
  }
}

// CRC-16 of Modbus RTU, bit by bit: the instrument's own, independent of the driver's.
std::uint16_t crc16(const std::uint8_t* data, int length) {
  std::uint16_t crc = 0xFFFF;
  for (int i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

// The answer libmodbus would give to a read or a single write, with the checksum spoiled.
void send_bad_crc_answer(modbus_t* ctx, const std::uint8_t* query, const modbus_mapping_t* map) {
  std::uint8_t frame[MODBUS_RTU_MAX_ADU_LENGTH];
  int n = 0;
  frame[n++] = query[0];
  frame[n++] = query[1];
  const int start = (query[2] << 8) | query[3];
  const int count = (query[4] << 8) | query[5];
  if (query[1] == 3 || query[1] == 4) {
    const std::uint16_t* table = query[1] == 3 ? map->tab_registers : map->tab_input_registers;
    const int size = query[1] == 3 ? map->nb_registers : map->nb_input_registers;
    if (start + count > size || count > 125) return;
    frame[n++] = static_cast<std::uint8_t>(2 * count);
    for (int i = 0; i < count; ++i) {
      frame[n++] = static_cast<std::uint8_t>(table[start + i] >> 8);
      frame[n++] = static_cast<std::uint8_t>(table[start + i]);
    }
  } else {
    for (int i = 2; i < 6; ++i) frame[n++] = query[i];
  }
  const std::uint16_t wrong = crc16(frame, n) ^ 0x0101;
  frame[n++] = static_cast<std::uint8_t>(wrong);
  frame[n++] = static_cast<std::uint8_t>(wrong >> 8);
  if (write(modbus_get_socket(ctx), frame, n) != n) std::perror("field_instrument: write");
}

int usage() {
  std::fprintf(stderr,
               "usage: field_instrument --device PATH [--baud N] [--address N] [--mode normal|silent|badcrc]\n"
               "                        [--delay-ms N] [--control FILE] [--owner PID]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  settings s;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const char* value = argv[i + 1];
    if (option == "--device")
      s.device = value;
    else if (option == "--baud")
      s.baud = std::atoi(value);
    else if (option == "--address")
      s.address = std::atoi(value);
    else if (option == "--mode") {
      if (!parse_mode(value, s.answer)) return usage();
    } else if (option == "--delay-ms")
      s.delay_ms = std::atoi(value);
    else if (option == "--control")
      s.control = value;
    else if (option == "--owner")
      s.owner = std::atol(value);
    else
      return usage();
  }
  if (s.device.empty() || argc % 2 == 0) return usage();

  signal(SIGINT, request_stop);
  signal(SIGTERM, request_stop);
  modbus_t* ctx = modbus_new_rtu(s.device.c_str(), s.baud, 'N', 8, 1);
  modbus_mapping_t* map = modbus_mapping_new(0, 0, pump_station::kHoldingCount, pump_station::kInputCount);
  if (!ctx || !map || modbus_set_slave(ctx, s.address) != 0 || modbus_connect(ctx) != 0) {
    std::fprintf(stderr, "field_instrument: cannot open %s: %s\n", s.device.c_str(), modbus_strerror(errno));
    return 1;
  }
  map->tab_registers[0] = pump_station::kSetPointAtStart;
  map->tab_registers[1] = pump_station::kReleaseAtStart;
  // Waiting for a request ends every half second, to look at the owner and the signals.
  modbus_set_indication_timeout(ctx, 0, 500000);
  std::fprintf(stderr, "field_instrument: slave %d on %s at %d baud\n", s.address, s.device.c_str(), s.baud);

  timespec control_seen{};
  long requests = 0, answered = 0;
  std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
  int status = 0;
  while (!stop_requested) {
    if (s.owner > 0 && kill(static_cast<pid_t>(s.owner), 0) != 0 && errno == ESRCH) break;
    follow_control_file(s, control_seen);
    const int length = modbus_receive(ctx, query);
    if (length == 0) continue;  // for another slave
    if (length < 0) {
      if (errno == ETIMEDOUT || errno == EMBBADCRC || errno == EMBBADDATA || errno == EINTR) continue;
      std::fprintf(stderr, "field_instrument: line lost: %s\n", modbus_strerror(errno));
      status = 1;
      break;
    }
    ++requests;
    follow_control_file(s, control_seen);
    if (s.answer == mode::silent) continue;
    if (s.delay_ms > 0) usleep(static_cast<useconds_t>(s.delay_ms) * 1000);
    // The values of the second in which the answer leaves.
    std::uint16_t registers[pump_station::kInputCount];
    pump_station::input_registers(static_cast<std::uint32_t>(std::time(nullptr)), registers);
    for (int i = 0; i < pump_station::kInputCount; ++i) map->tab_input_registers[i] = registers[i];
    if (s.answer == mode::bad_crc) {
      send_bad_crc_answer(ctx, query, map);
    } else if (modbus_reply(ctx, query, length, map) < 0) {
      continue;
    }
    ++answered;
  }
  std::fprintf(stderr, "field_instrument: %ld requests, %ld answered\n", requests, answered);
  modbus_mapping_free(map);
  modbus_close(ctx);
  modbus_free(ctx);
  return status;
}
