// LogFile across processes under Windows: two writer processes appending to one file at
// once (a damaged tail, as a killed writer leaves it, is log_file_test's). The writers are this program itself, started
// with TAMBRE_LOG_WRITER naming the file and the writer's tag.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "log/log_test_support.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "tambre32/logfile.h"

namespace {

constexpr int process_entries = 1000, process_lines = 5;
const char* const start_event = "TambreLogWriterStart";

bool writer_setting(std::string& path, std::string& tag) {
  char value[600] = {};
  DWORD n = GetEnvironmentVariableA("TAMBRE_LOG_WRITER", value, sizeof value);
  if (n == 0 || n >= sizeof value) return false;
  std::string setting(value);
  std::size_t bar = setting.find('|');
  if (bar == std::string::npos) return false;
  tag = setting.substr(0, bar);
  path = setting.substr(bar + 1);
  return true;
}

// The writer's side: runs only in a started process.
TEST(LogFileWriterProcess, Append) {
  std::string path, tag;
  if (!writer_setting(path, tag)) GTEST_SKIP() << "runs in a writer process";
  // Both writers begin together, so that their appends overlap.
  HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, start_event);
  if (go != nullptr) {
    WaitForSingleObject(go, 10000);
    CloseHandle(go);
  }
  log_test::named_log log(path);
  for (int e = 0; e < process_entries; ++e) {
    log.BeginLog("%s E%d", tag.c_str(), e);
    for (int i = 0; i < process_lines; ++i)
      log.AddLog("%s E%d L%d %s", tag.c_str(), e, i, std::string(40, 'w').c_str());
    ASSERT_TRUE(log.EndLog());
  }
}

// This program again, running only LogFileWriterProcess.Append as writer `tag` of `path`.
tambre::test::child_process start_writer(const std::string& tag, const std::string& path) {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  SetEnvironmentVariableA("TAMBRE_LOG_WRITER", (tag + "|" + path).c_str());
  tambre::test::child_process writer("\"" + std::string(program) +
                                     "\" --gtest_brief=1 --gtest_filter=LogFileWriterProcess.Append");
  SetEnvironmentVariableA("TAMBRE_LOG_WRITER", nullptr);
  return writer;
}

TEST(LogFileProcesses, TwoWritersLandWholeEntries) {
  tambre::test::temp_dir dir;
  std::string path = dir.file("shared.log");
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, start_event);
  ASSERT_NE(go, nullptr);
  const auto a = start_writer("A", path), b = start_writer("B", path);
  ASSERT_TRUE(a.started() && b.started());
  SetEvent(go);
  EXPECT_EQ(a.wait(), 0u);
  EXPECT_EQ(b.wait(), 0u);
  CloseHandle(go);
  EXPECT_EQ(log_test::whole_entries(tambre::test::file_contents(path), process_lines, " " + std::string(40, 'w')),
            2 * process_entries);
}

}  // namespace
#endif
