// The host's main window: real top-level windows of this process stand in for the host.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>

#include "frame/host_services.h"
#include "support/child_process.h"
#include "support/host_window_stand_in.h"
#include "support/process_setting.h"
#include "tambre32/hostwindow.h"

namespace {

using tambre::test::host_window_stand_in;

// The other process's side: a window of the host's class, kept until stdin closes.
TEST(HostWindowOtherProcess, HoldsAHostClassWindow) {
  TAMBRE_REQUIRE_PROCESS_SETTING("host_window_other");
  host_window_stand_in window("RPMODLESS");
  ASSERT_NE(window.handle(), nullptr);
  std::cout << "ready" << std::endl;
  std::string line;
  std::getline(std::cin, line);
}

std::unique_ptr<tambre::test::child_process> start_other_process() {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  SetEnvironmentVariableA("TAMBRE_TEST_PROCESS", "host_window_other");
  auto child = std::make_unique<tambre::test::child_process>(
      "\"" + std::string(program) + "\" --gtest_filter=HostWindowOtherProcess.*", true, true);
  SetEnvironmentVariableA("TAMBRE_TEST_PROCESS", nullptr);
  return child;
}

// Runs before any test below fills the service cache.
TEST(HostWindow, WindowsOfOtherProcessesAndOwnedWindowsAreNoHost) {
  auto other = start_other_process();
  ASSERT_TRUE(other->started());
  std::string line;
  do line = other->read_line(20000);
  while (!line.empty() && line != "ready");
  ASSERT_EQ(line, "ready");
  host_window_stand_in plain("TambreNotTheHost");
  host_window_stand_in owned("RPMODLESS", {}, plain.handle());
  ASSERT_NE(owned.handle(), nullptr);

  EXPECT_EQ(FindOwner(), nullptr);
  DWORD version2 = 0xDEADBEEF;
  EXPECT_EQ(GetTaskVersion(&version2), 0);
  EXPECT_EQ(version2, 0u);
  EXPECT_FALSE(tambre::frame::host_services_available());
  EXPECT_EQ(owned.asked(), 0);
}

TEST(HostWindow, ClassNameBeginsWithTheHostPrefixInAnyCaseAndAnswersTheVersion) {
  const struct {
    const char* class_name;
    bool host;
  } rows[] = {
      {"rpmodlessHost", true},
      {"RpModLessX", true},
      {"RPMODLES", false},
      {"XRPMODLESS", false},
  };
  for (const auto& row : rows) {
    host_window_stand_in window(row.class_name);
    ASSERT_NE(window.handle(), nullptr) << row.class_name;
    EXPECT_EQ(FindOwner(), row.host ? window.handle() : nullptr) << row.class_name;
  }
  host_window_stand_in::answers answers;
  answers.version = 0x12345;
  answers.version2 = 0x0A0B0C0D;
  host_window_stand_in host("rpmodlessHost", answers);
  DWORD version2 = 0;
  EXPECT_EQ(GetTaskVersion(&version2), 0x2345) << "cut to 16 bits";
  EXPECT_EQ(version2, 0x0A0B0C0Du);
  EXPECT_EQ(GetTaskVersion(nullptr), 0x2345);
}

// The cache lives for the process: this test runs last.
TEST(HostWindowZ, ServicesAreAskedUntilBothAreKnownAndThenNeverAgain) {
  host_window_stand_in::answers half;
  half.second_service = false;
  {
    host_window_stand_in host("rpmodlessHost", half);
    EXPECT_FALSE(tambre::frame::host_services_available());
    const int asked = host.asked();
    EXPECT_FALSE(tambre::frame::host_services_available());
    EXPECT_GT(host.asked(), asked) << "asked again while one service is unknown";
    char directory[tambre::frame::host_directory_size] = "x";
    EXPECT_FALSE(tambre::frame::query_host_directory(1, directory));
    EXPECT_STREQ(directory, "");
    EXPECT_EQ(host_window_stand_in::service_calls(), 0);
  }
  host_window_stand_in host("RPMODLESS");
  EXPECT_TRUE(tambre::frame::host_services_available());
  const int asked = host.asked();
  EXPECT_GT(asked, 0);
  host_window_stand_in::set_directory("C:\\Projekt\\Daten");
  char directory[tambre::frame::host_directory_size];
  EXPECT_TRUE(tambre::frame::query_host_directory(7, directory));
  EXPECT_STREQ(directory, "C:\\Projekt\\Daten");
  EXPECT_EQ(host_window_stand_in::last_code(), 45u);
  EXPECT_EQ(host_window_stand_in::last_argument(), 7u);
  host_window_stand_in::set_directory("", true);
  EXPECT_FALSE(tambre::frame::query_host_directory(1, directory));
  host_window_stand_in::set_directory(std::string(400, 'd'), true);
  EXPECT_TRUE(tambre::frame::query_host_directory(1, directory));
  EXPECT_EQ(std::string(directory), std::string(260, 'd'));
  EXPECT_TRUE(tambre::frame::host_services_available());
  EXPECT_EQ(host.asked(), asked) << "never asked again";
}

}  // namespace
