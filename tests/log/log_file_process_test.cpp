// LogFile across processes under Windows: two writer processes appending to one file at
// once, and a writer killed while it writes. The writers are this program itself, started
// with TAMBRE_LOG_WRITER naming the file and the writer's tag.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tambre32/logfile.h"

namespace {

constexpr int process_entries = 1000, process_lines = 5;
const char* const start_event = "TambreLogWriterStart";

bool writer_setting(std::string& path, std::string& tag, bool& endless) {
  char value[600] = {};
  DWORD n = GetEnvironmentVariableA("TAMBRE_LOG_WRITER", value, sizeof value);
  if (n == 0 || n >= sizeof value) return false;
  std::string setting(value);
  std::size_t bar = setting.find('|');
  if (bar == std::string::npos) return false;
  endless = setting.compare(0, 1, "*") == 0;
  tag = setting.substr(endless ? 1 : 0, bar - (endless ? 1 : 0));
  path = setting.substr(bar + 1);
  return true;
}

// The writer's side: runs only in a started process.
TEST(LogFileWriterProcess, Append) {
  std::string path, tag;
  bool endless = false;
  if (!writer_setting(path, tag, endless)) GTEST_SKIP() << "runs in a writer process";
  // Both writers begin together, so that their appends overlap.
  HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, start_event);
  if (go != nullptr) {
    WaitForSingleObject(go, 10000);
    CloseHandle(go);
  }
  LogFile log;
  log.SetFileName(path.c_str());
  for (int e = 0; endless || e < process_entries; ++e) {
    log.BeginLog("%s E%d", tag.c_str(), e);
    for (int i = 0; i < process_lines; ++i)
      log.AddLog("%s E%d L%d %s", tag.c_str(), e, i, std::string(40, 'w').c_str());
    ASSERT_TRUE(log.EndLog());
  }
}

struct writer_process {
  PROCESS_INFORMATION info{};
  bool start(const std::string& tag, const std::string& path) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string setting = tag + "|" + path;
    SetEnvironmentVariableA("TAMBRE_LOG_WRITER", setting.c_str());
    std::string command = "\"" + std::string(program) + "\" --gtest_brief=1 --gtest_filter=LogFileWriterProcess.Append";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    BOOL ok = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableA("TAMBRE_LOG_WRITER", nullptr);
    return ok != FALSE;
  }
  DWORD wait() {
    WaitForSingleObject(info.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
  }
  ~writer_process() {
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
    if (info.hThread != nullptr) CloseHandle(info.hThread);
  }
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(LogFileProcesses, TwoWritersLandWholeEntries) {
  tambre::test::temp_dir dir;
  std::string path = dir.file("shared.log");
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, start_event);
  ASSERT_NE(go, nullptr);
  writer_process a, b;
  ASSERT_TRUE(a.start("A", path));
  ASSERT_TRUE(b.start("B", path));
  Sleep(300);
  SetEvent(go);
  EXPECT_EQ(a.wait(), 0u);
  EXPECT_EQ(b.wait(), 0u);
  CloseHandle(go);

  std::istringstream in(read_file(path));
  std::string line, owner;
  int next_line = process_lines, headers = 0;
  while (std::getline(in, line)) {
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    if (line.rfind("[#", 0) == 0) {
      ASSERT_EQ(next_line, process_lines) << "entry of " << owner << " cut short";
      owner = line.substr(line.rfind(": ") + 2);
      owner.pop_back();
      next_line = 0;
      ++headers;
    } else {
      ASSERT_EQ(line, owner + " L" + std::to_string(next_line) + " " + std::string(40, 'w'));
      ++next_line;
    }
  }
  EXPECT_EQ(headers, 2 * process_entries);
}

TEST(LogFileProcesses, KilledWriterLeavesAReadableFile) {
  tambre::test::temp_dir dir;
  std::string path = dir.file("killed.log");
  {
    LogFile seed;
    seed.SetFileName(path.c_str());
    ASSERT_TRUE(seed.BeginLog("Anfang"));
    ASSERT_TRUE(seed.EndLog());
  }
  writer_process writer;
  ASSERT_TRUE(writer.start("*K", path));
  // Let it write for a while, then kill it wherever it is, most likely inside EndLog.
  for (int i = 0; i < 200 && read_file(path).size() < 20000; ++i) Sleep(10);
  TerminateProcess(writer.info.hProcess, 9);
  WaitForSingleObject(writer.info.hProcess, 10000);

  std::string bytes = read_file(path);
  std::size_t newest_at = bytes.rfind("\n[#");
  ASSERT_NE(newest_at, std::string::npos);
  long newest = std::atol(bytes.c_str() + newest_at + 3);
  LogFile log;
  log.SetFileName(path.c_str());
  ASSERT_TRUE(log.Open());
  EXPECT_EQ(log.GetFirstItem(), 1);
  EXPECT_GT(log.GetLastItem(), 1);
  EXPECT_EQ(log.GetLastItem(), newest);
  StringList list;
  ASSERT_TRUE(log.GetItems(list, -1, -1));
  EXPECT_GT(list.GetCount(), 2);
  // The next entry of the reopened file follows the newest one and is found again.
  ASSERT_TRUE(log.BeginLog("danach"));
  ASSERT_TRUE(log.EndLog());
  LogFile reopened;
  reopened.SetFileName(path.c_str());
  ASSERT_TRUE(reopened.Open());
  EXPECT_EQ(reopened.GetLastItem(), newest + 1);
}

}  // namespace
#endif
