// System error texts against the system's own FormatMessageA.
#include <gtest/gtest.h>

#include <cstring>

#include "frame_test_support.h"
#include "tambre32/frame.h"

namespace {

std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

TEST(GetSysError, SystemTextOnOneLineWithItsCode) {
  struct code_case {
    DWORD code;
    const char* suffix;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, "[OS #2]"}, {ERROR_ACCESS_DENIED, "[OS #5]"}, {ERROR_INVALID_PARAMETER, "[OS #87]"},
      {0x80070005u, "[OS #80070005]"},   {0x80004005u, "[OS #80004005]"},  {0, ""},
  };
  for (const auto& c : cases) {
    const std::string text = frame_test::system_text(c.code);
    ASSERT_FALSE(text.empty()) << "the system has a text for " << c.code;
    char buffer[512];
    EXPECT_EQ(GetSysError(buffer, sizeof buffer, c.code), buffer);
    EXPECT_EQ(std::string(buffer), one_line(text) + c.suffix) << c.code;
  }
  // Minus one takes the thread's last error.
  char buffer[512];
  SetLastError(ERROR_FILE_NOT_FOUND);
  GetSysError(buffer, sizeof buffer, 0xFFFFFFFFu);
  EXPECT_EQ(std::string(buffer), one_line(frame_test::system_text(ERROR_FILE_NOT_FOUND)) + "[OS #2]");
}

TEST(GetSysError, ShortBuffersNeverOverrunAndDropTheCode) {
  const std::string text = frame_test::system_text(ERROR_ACCESS_DENIED);
  const int n = static_cast<int>(text.size());
  struct size_case {
    int size;
    std::string expected;
  } cases[] = {
      {1, ""},
      {21, n < 20 ? one_line(text) : ""},
      {n + 21, one_line(text)},  // text is size - 21 long: no room for the code
      {n + 22, one_line(text) + "[OS #5]"},
  };
  for (const auto& c : cases) {
    char buffer[600];
    std::memset(buffer, '#', sizeof buffer);
    GetSysError(buffer, c.size, ERROR_ACCESS_DENIED);
    EXPECT_EQ(std::string(buffer), c.expected) << "size " << c.size;
    EXPECT_EQ(buffer[c.size], '#') << "size " << c.size;
  }
  EXPECT_EQ(GetSysError(nullptr, 10, 5), nullptr);
}

TEST(GetSysErrorStr, SystemTextAsItComes) {
  char buffer[512] = "old";
  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, 0), 1);
  EXPECT_STREQ(buffer, "");

  const std::string text = frame_test::system_text(ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, ERROR_ACCESS_DENIED), static_cast<int>(text.size()));
  EXPECT_EQ(std::string(buffer), text);

  SetLastError(ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, 0xFFFFFFFFu), static_cast<int>(frame_test::system_text(87).size()));
  EXPECT_EQ(std::string(buffer), frame_test::system_text(87));

  char small[4] = "abc";
  EXPECT_EQ(GetSysErrorStr(small, sizeof small, ERROR_ACCESS_DENIED), 0);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(GetSysErrorStr(buffer, sizeof buffer, 0x2000ABCDu), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetSysErrorStr(nullptr, 10, 5), 0);
}

}  // namespace
