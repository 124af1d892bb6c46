// The installation flow with the prefix's real system directory, registry and service
// control manager; only starting a kernel service and restarting Windows are scripted.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "config/registry_oracle.h"
#include "io/box_sequence.h"
#include "io/hardware_stand_in.h"
#include "io/platform_state.h"
#include "support/file_contents.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

namespace fs = std::filesystem;
using service_call = std::pair<std::string, int>;

constexpr char kServicesKey[] = "System\\CurrentControlSet\\Services\\";

// A string value of the machine's registry; empty when missing or of another kind.
std::string registry_string(const std::string& key, const char* name) {
  const auto raw = config_test::read_raw(HKEY_LOCAL_MACHINE, key, name);
  return raw.type == REG_SZ ? raw.text().c_str() : "";
}

// Creation goes to the real service control manager; starts and restarts answer from here.
struct service_script {
  std::vector<service_call> calls;
  std::vector<DWORD> start_errors;              // one per start, 0 = started
  std::vector<std::string> groups_at_creation;  // the key's "Group" then
  int restarts = 0;
  DWORD restart_error = 0;
} script;

int control_service(const char* name, int operation) {
  script.calls.push_back({name, operation});
  if (operation == TAMBRE_SERVICE_CREATE) {
    script.groups_at_creation.push_back(registry_string(std::string(kServicesKey) + name, "Group"));
  }
  if (operation != TAMBRE_SERVICE_START) return ControlNTService(name, operation, nullptr);
  DWORD error = script.start_errors.empty() ? 0 : script.start_errors.front();
  if (!script.start_errors.empty()) script.start_errors.erase(script.start_errors.begin());
  SetLastError(error);
  return error == 0;
}

bool restart() {
  ++script.restarts;
  SetLastError(script.restart_error);
  return script.restart_error == 0;
}

std::string module_directory() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  return fs::path(path).parent_path().string();
}

// Where the installer puts devices: the real system folder, which a 32-bit program on
// 64-bit Windows reaches as "Sysnative".
std::string system_directory() {
  char path[MAX_PATH];
  BOOL wow64 = FALSE;
  if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
    GetWindowsDirectoryA(path, sizeof path);
    return std::string(path) + "\\Sysnative";
  }
  GetSystemDirectoryA(path, sizeof path);
  return path;
}

bool key_exists(const char* key) { return config_test::inspect_key(HKEY_LOCAL_MACHINE, key).exists; }

constexpr char kNt5Key[] = "System\\CurrentControlSet\\Services\\Ferrol2k";
constexpr char kNtKey[] = "System\\CurrentControlSet\\Services\\Ferrolin";
constexpr char kVxdKey[] = "System\\CurrentControlSet\\Services\\VxD\\FERROLIN";

// Device files beside the test program; a clean system directory and registry for each test.
struct device_install : ::testing::Test {
  std::string source_dir = module_directory();
  std::string drivers = system_directory() + "\\drivers\\";
  std::vector<std::string> sources;
  std::optional<hardware_stand_in> hw;

  // The kernel device is missing; services and restarts go to the script.
  simulated_device& without_device(simulated_platform platform = simulated_platform::nt5) {
    hw.emplace(platform);
    hw->device.present = false;
    hw->machine.service = control_service;
    hw->machine.restart_with = restart;
    return hw->device;
  }

  void SetUp() override {
    script = {};
    clean();
  }
  void TearDown() override {
    hw.reset();
    for (const std::string& s : sources) fs::remove(s);
    clean();
  }
  void provide(const char* file, const char* content) {
    sources.push_back(source_dir + "\\" + file);
    write_file(sources.back(), content);
  }
  void clean() {
    for (const char* file : {"Ferrol2k.sys", "Ferrolin.sys"}) fs::remove(drivers + file);
    fs::remove(system_directory() + "\\Ferrolin.vxd");
    for (const char* key : {kNt5Key, kNtKey, kVxdKey}) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
  }
};

TEST_F(device_install, InstalledDeclinedOrStartedAsksAtMostOnce) {
  without_device().present = true;  // installed after all, version 5 with capabilities 3
  EXPECT_TRUE(IOQueryDeviceInstallEx(3, 5));
  EXPECT_TRUE(no_box_visible());
  provide("Ferrol2k.sys", "nt5 device");
  for (const int answer : {IDNO, IDYES}) {
    without_device();
    box_sequence boxes({answer});
    EXPECT_TRUE(IOQueryDeviceInstall());
    const auto caught = boxes.wait();
    ASSERT_EQ(caught.size(), 1u);
    EXPECT_TRUE(no_box_visible()) << "a started device needs no restart and no message";
    EXPECT_EQ(caught[0].caption, "Treiber");
    EXPECT_NE(caught[0].text.find("'Ferrol2k.sys'  installiert"), std::string::npos) << caught[0].text;
    EXPECT_EQ(caught[0].icon, box_icon::question);
    if (answer == IDNO) {
      EXPECT_FALSE(fs::exists(drivers + "Ferrol2k.sys") || key_exists(kNt5Key));
    }
  }
  EXPECT_EQ(file_contents(drivers + "Ferrol2k.sys"), "nt5 device");
  EXPECT_TRUE(key_exists(kNt5Key));
  const std::vector<service_call> expected = {{"Ferrol2k", TAMBRE_SERVICE_CREATE}, {"Ferrol2k", TAMBRE_SERVICE_START}};
  EXPECT_EQ(script.calls, expected) << "declined: nothing";
}

TEST_F(device_install, FailedStartFallsBackOnceToTheOlderDeviceThenReports) {
  without_device();
  provide("Ferrol2k.sys", "nt5 device");
  provide("Ferrolin.sys", "nt4 device");
  script.start_errors = {ERROR_SERVICE_DISABLED, ERROR_BAD_EXE_FORMAT};
  box_sequence boxes({IDYES, IDOK, IDOK});
  EXPECT_FALSE(IOQueryDeviceInstall());
  const auto caught = boxes.wait();
  const std::vector<service_call> expected = {{"Ferrol2k", TAMBRE_SERVICE_CREATE},
                                              {"Ferrol2k", TAMBRE_SERVICE_START},
                                              {"Ferrolin", TAMBRE_SERVICE_CREATE},
                                              {"Ferrolin", TAMBRE_SERVICE_START}};
  EXPECT_EQ(script.calls, expected);
  EXPECT_FALSE(fs::exists(drivers + "Ferrol2k.sys") || key_exists(kNt5Key));
  EXPECT_EQ(file_contents(drivers + "Ferrolin.sys"), "nt4 device");
  EXPECT_TRUE(key_exists(kNtKey));
  EXPECT_FALSE(io::platform().nt5_or_later);
  // The group is written before each service is created.
  EXPECT_EQ(script.groups_at_creation, (std::vector<std::string>{"Extended Base", "Extended Base"}));
  ASSERT_EQ(caught.size(), 3u);
  char reason[256] = "";  // the last start's error, in the system's words
  ASSERT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_BAD_EXE_FORMAT, 0,
                           reason, sizeof reason, nullptr),
            0u);
  EXPECT_NE(caught[1].text.find(std::string(reason).substr(0, 20)), std::string::npos) << caught[1].text;
  EXPECT_EQ(caught[1].icon, box_icon::asterisk);
  EXPECT_EQ(caught[2].caption, "Treiber");
  EXPECT_NE(caught[2].text.find("Der Ger\xe4tetreiber 'Ferrolin.sys' konnte nicht installiert werden."),
            std::string::npos)
      << caught[2].text;
  EXPECT_EQ(caught[2].icon, box_icon::exclamation);
}

TEST_F(device_install, Windows9xRegistersTheVxdAndOffersARestart) {
  without_device(simulated_platform::windows9x);
  script.restart_error = ERROR_PRIVILEGE_NOT_HELD;
  provide("Ferrolin.vxd", "vxd");
  box_sequence boxes({IDYES, IDYES, IDOK});
  EXPECT_TRUE(IOQueryDeviceInstall());
  const auto caught = boxes.wait();
  ASSERT_EQ(caught.size(), 3u);
  EXPECT_NE(caught[1].text.find("Der Ger\xe4tetreiber 'Ferrolin.vxd' wurde erfolgreich installiert."),
            std::string::npos)
      << caught[1].text;
  EXPECT_EQ(caught[1].icon, box_icon::question);
  EXPECT_EQ(caught[2].caption, "Systemmeldung") << "the restart failed";
  EXPECT_EQ(file_contents(system_directory() + "\\Ferrolin.vxd"), "vxd");
  EXPECT_EQ(registry_string(kVxdKey, "StaticVxD"), "Ferrolin.vxd");
  EXPECT_EQ(script.restarts, 1);
  EXPECT_TRUE(script.calls.empty());
}

}  // namespace
}  // namespace tambre::test
