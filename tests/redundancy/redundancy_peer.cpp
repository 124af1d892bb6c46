// One side of a redundancy link as a driver runs it: opens the link and queries it on a
// fixed period, printing each change of the answer with its tick. The end-to-end test runs
// two of these in two network namespaces and reads what they print.
//
//   redundancy_peer standby REMOTE PORT T PERIOD_MS STOP_FILE MAX_MS
//   redundancy_peer master  REMOTE PORT T PERIOD_MS RUN_MS FIRST_QUERY_DELAY_MS
//   redundancy_peer adapters NAME
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tambre32/net.h"
#include "tambre32/redundancy.h"

namespace {

void say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

int run_link(int argc, char** argv) {
  if (argc < 8) return 2;
  const bool master = std::strcmp(argv[1], "master") == 0;
  const unsigned int timeout = static_cast<unsigned int>(std::strtoul(argv[4], nullptr, 10));
  const DWORD period = std::strtoul(argv[5], nullptr, 10);
  const DWORD limit = std::strtoul(argv[master ? 6 : 7], nullptr, 10);

  say("clock %lu\n", GetTickCount());
  RedundancyHandle* link = OpenRedundancy(argv[2], argv[3], master ? 1 : 2, timeout, nullptr);
  if (link == nullptr) {
    say("open-failed %lu\n", GetLastError());
    return 1;
  }
  const DWORD opened = GetTickCount();
  say("open %lu\n", opened);
  if (master) Sleep(std::strtoul(argv[7], nullptr, 10));

  int last = 0;
  while (GetTickCount() - opened < limit && (master || !exists(argv[6]))) {
    const int result = QueryRedundancy(link, nullptr);
    if (result != last) say("result %lu %d\n", GetTickCount(), result);
    last = result;
    Sleep(period);
  }
  say("end %lu contact %lu sequence %lu sent %lu\n", GetTickCount(), static_cast<unsigned long>(link->LastContact),
      static_cast<unsigned long>(link->SequenceA), static_cast<unsigned long>(link->SequenceB));
  CloseRedundancy(link);
  CloseRedundancy(nullptr);
  return 0;
}

int list_adapters(const char* name) {
  char names[2048];
  say("names %d %s\n", GetAdapterNames(names, sizeof names), names);
  say("addr %s\n", ipaddr(GetAdapterAddr(name)));
  say("mask %s\n", ipaddr(GetAdapterNetMask(name)));
  unsigned char mac[6];
  const int found = GetAdapterMAC(name, mac);
  say("mac %d %02x:%02x:%02x:%02x:%02x:%02x\n", found, mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  unsigned int addresses[16];
  unsigned int masks[16];
  const int count = GetAdapterAddresses(name, 16, addresses, masks);
  std::string pairs;
  for (int i = 0; i < count; ++i) {
    // One shared buffer behind ipaddr: take each text before the next call.
    pairs += std::string(" ") + ipaddr(addresses[i]);
    pairs += std::string("/") + ipaddr(masks[i]);
  }
  say("pairs %d%s\n", count, pairs.c_str());
  say("interfaces %d %s\n", GetInterfaceNames(names, sizeof names), names);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "adapters") == 0) return list_adapters(argv[2]);
  if (argc >= 2 && (std::strcmp(argv[1], "master") == 0 || std::strcmp(argv[1], "standby") == 0)) {
    return run_link(argc, argv);
  }
  std::fprintf(stderr, "usage: redundancy_peer master|standby|adapters ...\n");
  return 2;
}
