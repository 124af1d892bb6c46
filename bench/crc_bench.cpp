// CRC32 beside zlib's crc32 and libdeflate's libdeflate_crc32, CRC16 beside the plain
// byte-wise table loop; 64 KiB buffers, identical results checked before timing.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "ratio_reporter.h"

using tambre::bench::ratio_reporter;
#include "tambre32/encoding.h"

namespace {

constexpr std::size_t buffer_size = 64 * 1024;

const std::vector<unsigned char>& sample() {
  static const std::vector<unsigned char> data = [] {
    std::vector<unsigned char> d(buffer_size);
    std::mt19937 rng(1);
    for (auto& b : d) b = static_cast<unsigned char>(rng());
    return d;
  }();
  return data;
}

// The peer of CRC16: the classic one-table loop.
struct crc16_table {
  std::uint16_t t[256];
  crc16_table() {
    for (unsigned n = 0; n < 256; ++n) {
      std::uint16_t c = static_cast<std::uint16_t>(n);
      for (int k = 0; k < 8; ++k) c = (c & 1) ? static_cast<std::uint16_t>((c >> 1) ^ 0xA001) : c >> 1;
      t[n] = c;
    }
  }
  std::uint16_t operator()(const unsigned char* p, std::size_t n) const {
    std::uint16_t crc = 0xFFFF;
    while (n--) crc = static_cast<std::uint16_t>((crc >> 8) ^ t[(crc ^ *p++) & 0xFF]);
    return crc;
  }
};
const crc16_table plain_crc16;

void BM_CRC32(benchmark::State& state) {
  const auto& d = sample();
  for (auto _ : state) benchmark::DoNotOptimize(CRC32(d.data(), static_cast<int>(d.size()), 0xFFFFFFFFu));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.size()));
}

void BM_zlib_crc32(benchmark::State& state) {
  const auto& d = sample();
  for (auto _ : state) benchmark::DoNotOptimize(crc32(0, d.data(), static_cast<uInt>(d.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.size()));
}

void BM_libdeflate_crc32(benchmark::State& state) {
  const auto& d = sample();
  for (auto _ : state) benchmark::DoNotOptimize(libdeflate_crc32(0, d.data(), d.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.size()));
}

void BM_CRC16(benchmark::State& state) {
  const auto& d = sample();
  for (auto _ : state) benchmark::DoNotOptimize(CRC16(d.data(), static_cast<int>(d.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.size()));
}

void BM_bytewise_crc16(benchmark::State& state) {
  const auto& d = sample();
  for (auto _ : state) benchmark::DoNotOptimize(plain_crc16(d.data(), d.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.size()));
}

BENCHMARK(BM_CRC32);
BENCHMARK(BM_zlib_crc32);
BENCHMARK(BM_libdeflate_crc32);
BENCHMARK(BM_CRC16);
BENCHMARK(BM_bytewise_crc16);

}  // namespace

int main(int argc, char** argv) {
  const auto& d = sample();
  const unsigned ours = CRC32(d.data(), static_cast<int>(d.size()), 0xFFFFFFFFu) ^ 0xFFFFFFFFu;
  if (ours != crc32(0, d.data(), static_cast<uInt>(d.size())) || ours != libdeflate_crc32(0, d.data(), d.size()) ||
      CRC16(d.data(), static_cast<int>(d.size())) != plain_crc16(d.data(), d.size())) {
    std::fprintf(stderr, "crc_bench: results differ from the peers\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  tambre::bench::describe_peer("BM_zlib_crc32", std::string("zlib ") + zlibVersion());
  tambre::bench::describe_peer("BM_libdeflate_crc32", "libdeflate " LIBDEFLATE_VERSION_STRING);
  tambre::bench::describe_peer("BM_bytewise_crc16", "table loop, same compiler");
  ratio_reporter reporter(
      {{"BM_CRC32", "BM_zlib_crc32"}, {"BM_CRC32", "BM_libdeflate_crc32"}, {"BM_CRC16", "BM_bytewise_crc16"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
