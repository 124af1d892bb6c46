// CryptData's DES-ECB beside OpenSSL's DES_ecb_encrypt with a prepared schedule (8 bytes
// and 64 KiB), its RC4 beside OpenSSL's RC4 (64 KiB, keyed per call on both sides).
// CryptData prepares its schedule in every call: the 8-byte call is also set beside
// OpenSSL keying its schedule and ciphering the one block, the same work.
#include <benchmark/benchmark.h>

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
#include <openssl/crypto.h>
#include <openssl/des.h>
#include <openssl/rc4.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "ratio_reporter.h"

using tambre::bench::ratio_reporter;
#include "tambre32/encoding.h"

namespace {

char des_key[] = "K3y!d4t4";
char rc4_key[] = "Schluessel-RC4-128";

std::vector<unsigned char> make_data(std::size_t n) {
  std::vector<unsigned char> d(n);
  std::mt19937 rng(2);
  for (auto& b : d) b = static_cast<unsigned char>(rng());
  return d;
}

void des_ours(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto in = make_data(n);
  std::vector<unsigned char> out(n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(CryptData(TAMBRE_CRYPT_DES, out.data(), in.data(), static_cast<int>(n), des_key, 0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}

void des_openssl(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto in = make_data(n);
  std::vector<unsigned char> out(n);
  DES_cblock key;
  std::memcpy(key, des_key, 8);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&key, &schedule);
  for (auto _ : state) {
    for (std::size_t i = 0; i < n; i += 8) {
      DES_ecb_encrypt(reinterpret_cast<const_DES_cblock*>(const_cast<unsigned char*>(in.data() + i)),
                      reinterpret_cast<DES_cblock*>(out.data() + i), &schedule, DES_ENCRYPT);
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}

void des_openssl_keyed(benchmark::State& state) {
  const auto in = make_data(8);
  unsigned char out[8];
  for (auto _ : state) {
    DES_cblock key;
    std::memcpy(key, des_key, 8);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&key, &schedule);
    DES_ecb_encrypt(reinterpret_cast<const_DES_cblock*>(const_cast<unsigned char*>(in.data())),
                    reinterpret_cast<DES_cblock*>(out), &schedule, DES_ENCRYPT);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 8);
}

void rc4_ours(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto in = make_data(n);
  std::vector<unsigned char> out(n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(CryptData(TAMBRE_CRYPT_RC4, out.data(), in.data(), static_cast<int>(n), rc4_key, 0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}

void rc4_openssl(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto in = make_data(n);
  std::vector<unsigned char> out(n);
  for (auto _ : state) {
    RC4_KEY key;
    RC4_set_key(&key, static_cast<int>(std::strlen(rc4_key)), reinterpret_cast<const unsigned char*>(rc4_key));
    RC4(&key, n, in.data(), out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}

BENCHMARK(des_ours)->Arg(8)->Arg(64 * 1024);
BENCHMARK(des_openssl)->Arg(8)->Arg(64 * 1024);
BENCHMARK(des_openssl_keyed);
BENCHMARK(rc4_ours)->Arg(64 * 1024);
BENCHMARK(rc4_openssl)->Arg(64 * 1024);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const char* peer : {"des_openssl/8", "des_openssl_keyed", "des_openssl/65536", "rc4_openssl/65536"}) {
    tambre::bench::describe_peer(peer, OpenSSL_version(OPENSSL_VERSION));
  }
  ratio_reporter reporter({{"des_ours/8", "des_openssl/8"},
                           {"des_ours/8", "des_openssl_keyed"},
                           {"des_ours/65536", "des_openssl/65536"},
                           {"rc4_ours/65536", "rc4_openssl/65536"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
