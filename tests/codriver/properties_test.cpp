// IProcessDriver's properties through the vtable, with a stand-in for the host's query function.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "codriver/codriver_test_support.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::low_block;
using tambre::test::low_function;

// The host: an answer per code (missing: the query fails) and the calls it got.
struct FakeHost {
  std::map<int, long> answers;
  struct Call {
    int code;
    DWORD_PTR parameter;
    int size;
  };
  std::vector<Call> calls;
} fake_host;

int TAMBRE_STDCALL host_query(int code, DWORD_PTR parameter, int size, void* output) {
  fake_host.calls.push_back({code, parameter, size});
  auto it = fake_host.answers.find(code);
  if (it == fake_host.answers.end()) return 0;
  if (code == 2)
    std::strncpy(static_cast<char*>(output), "Anlage Nord", size);
  else
    *static_cast<long*>(output) = it->second;
  return 1;
}

// Installs (or, with 0, removes) the process-wide host query function through a record.
void install_host(CoDriver& driver, std::uint32_t function) {
  DrvInitStruct record{};
  record.flags = DRV_FLAG_HOST_QUERY;
  record.hostQuery = function;
  driver.ForwardInit(&record);
}

class Properties : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_host = FakeHost{};
    driver_ = new CoDriver;
    driver_->AddRef();  // the driver's own reference; Destroy drops it
    install_host(*driver_, host_function_.address());
  }
  void TearDown() override {
    install_host(*driver_, 0);
    CoDriver::Destroy(driver_);
  }
  low_function host_function_{reinterpret_cast<void*>(&host_query)};
  CoDriver* driver_ = nullptr;
};

TEST_F(Properties, HostAnswersQueryFailuresAndNoHost) {
  VARIANT_BOOL on = 7;
  fake_host.answers = {{15, 5}};
  EXPECT_EQ(driver_->GetControl(&on), S_OK);
  EXPECT_EQ(on, VARIANT_TRUE);
  ASSERT_EQ(fake_host.calls.size(), 1u);
  EXPECT_EQ(fake_host.calls[0].parameter, 0u);
  EXPECT_EQ(fake_host.calls[0].size, 4);
  fake_host.answers = {{17, 0}, {2, 1}, {14, 250}};
  EXPECT_EQ(driver_->GetMeasurement(&on), S_OK);
  EXPECT_EQ(on, VARIANT_FALSE);
  EXPECT_EQ(driver_->GetControl(&on), S_OK);  // the query fails: off, still success
  EXPECT_EQ(on, VARIANT_FALSE);
  BSTR name = nullptr;
  EXPECT_EQ(driver_->GetProjectName(&name), S_OK);
  EXPECT_EQ(tambre::test::text_of(name), "Anlage Nord");
  EXPECT_EQ(fake_host.calls.back().size, 80);
  long cycle = 0;
  EXPECT_EQ(driver_->GetCycleTime(&cycle), S_OK);
  EXPECT_EQ(cycle, 250);

  fake_host.answers.clear();
  name = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(driver_->GetProjectName(&name), E_UNEXPECTED);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(driver_->GetCycleTime(&cycle), E_UNEXPECTED);
  EXPECT_EQ(cycle, -1);

  DriverState state = DrvStatRun;
  EXPECT_EQ(driver_->GetDriverState(&state), S_OK);  // the library's own module: no query
  EXPECT_EQ(state, DrvStatUndefined);
  driver_->SetInstance(GetModuleHandleA(nullptr));
  fake_host.answers = {{12, DrvStatRun}};
  EXPECT_EQ(driver_->GetDriverState(&state), S_OK);
  EXPECT_EQ(state, DrvStatRun);
  EXPECT_EQ(fake_host.calls.back().parameter, reinterpret_cast<DWORD_PTR>(GetModuleHandleA(nullptr)));
  fake_host.answers = {{12, 0}};
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
  EXPECT_EQ(state, DrvStatUndefined);

  install_host(*driver_, 0);
  EXPECT_EQ(driver_->GetControl(&on), E_UNEXPECTED);
  EXPECT_EQ(driver_->GetCycleTime(&cycle), E_UNEXPECTED);
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
}

TEST_F(Properties, ChannelCountsAndBasesArePublishedByRunFlag16) {
  driver_->m_channelCounts[ctAIn] = 8;
  driver_->m_channelBases[ctAIn] = 100;
  driver_->m_channelCounts[ctDIn] = 4;
  driver_->m_channelBases[ctDOut] = 5;
  struct Row {
    DWORD run_flags;
    long type;
    HRESULT result;
    long count, base;
  };
  const Row rows[] = {{DRV_RUN_CHANNEL_COUNTS, ctAIn, S_OK, 8, 101},
                      {DRV_RUN_TYPE_INFO, ctAIn, S_OK, 0, 0},
                      {DRV_RUN_CHANNEL_COUNTS, ctDIn, S_OK, 4, 1},
                      {DRV_RUN_CHANNEL_COUNTS, ctDOut, S_OK, 0, 0},
                      {DRV_RUN_CHANNEL_COUNTS, 12, DISP_E_BADINDEX, -5, -5}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    driver_->m_runFlags = row.run_flags;
    long count = -5, base = -5;
    EXPECT_EQ(driver_->GetChannelCount(static_cast<ChannelType>(row.type), &count), row.result);
    EXPECT_EQ(driver_->GetChannelBase(static_cast<ChannelType>(row.type), &base), row.result);
    EXPECT_EQ(count, row.count);
    EXPECT_EQ(base, row.base);
  }
  using Method = HRESULT(STDMETHODCALLTYPE*)(IProcessDriver*);
  IProcessDriver* driver = driver_;
  void** vtable = *reinterpret_cast<void***>(driver);
  for (int slot = 22; slot <= 51; ++slot) EXPECT_EQ(reinterpret_cast<Method>(vtable[slot])(driver), E_NOTIMPL) << slot;
}

}  // namespace
