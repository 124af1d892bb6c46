// Classic help commands mapped to the HTML Help control's, the failure message's topic,
// and the help file's search order on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "services/help_request.h"
#include "support/temp_dir.h"

namespace {

using namespace tambre::services;
using request = html_help_request;

TEST(HelpCommand, MappedToTheControlsCommands) {
  const char keyword[] = "Messwerte";
  const auto keyword_data = reinterpret_cast<std::uintptr_t>(keyword);
  const struct {
    unsigned command;
    std::uintptr_t data;
    request::outcome what;
    unsigned html_command;
    std::uintptr_t html_data;
  } rows[] = {
      {3, 77, request::call, 0, 0},
      {1, 0, request::call, 0, 0},
      {8, 0, request::call, 0, 0},
      {1, 5, request::call, 15, 5},
      {8, 0xFFFFFFFE, request::call, 15, 0xFFFFFFFE},
      {1, 0xFFFFFFFF, request::succeed_at_once, 0, 0},
      {8, 0xFFFFFFFF, request::succeed_at_once, 0, 0},
      {257, keyword_data, request::call, 13, keyword_data},
      {2, 0, request::succeed_at_once, 0, 0},
      {0, 0, request::refuse, 0, 0},
      {4, 1, request::refuse, 0, 0},
      {258, keyword_data, request::refuse, 0, 0},
  };
  for (const auto& row : rows) {
    const request mapped = map_help_command(row.command, row.data);
    SCOPED_TRACE(row.command);
    EXPECT_EQ(mapped.what, row.what);
    if (row.what != request::call) continue;
    EXPECT_EQ(mapped.command, row.html_command);
    EXPECT_EQ(mapped.data, row.html_data);
    EXPECT_EQ(mapped.keyword, row.command == 257);
  }
}

TEST(HelpCommand, CompiledHelpIsTheLowerOrUpperExtension) {
  for (const char* path : {"a.chm", "C:\\Help\\a.CHM", "a.chm>main", "x.chm.bak"}) EXPECT_TRUE(is_compiled_help(path));
  for (const char* path : {"a.hlp", "a.Chm", "achm", ""}) EXPECT_FALSE(is_compiled_help(path));
  EXPECT_FALSE(is_compiled_help(nullptr));
}

TEST(HelpCommand, TopicTextOfTheFailureMessage) {
  char topic[16];
  help_topic_text(1, 4294967294u, topic, sizeof topic);
  EXPECT_STREQ(topic, "#4294967294");
  help_topic_text(257, reinterpret_cast<std::uintptr_t>("Messwerte und mehr"), topic, sizeof topic);
  EXPECT_STREQ(topic, "Messwerte und m");
  help_topic_text(257, 0, topic, sizeof topic);
  EXPECT_STREQ(topic, "");
}

// The help file of a program: beside it or below, beside the library or above it.
TEST(HelpFileSearch, CandidatesInOrder) {
  tambre::test::temp_dir dir;
#ifdef _WIN32
  const std::string root = dir.path().string();
  for (const char* sub : {"app\\Help", "lib", "Help"}) std::filesystem::create_directories(root + "\\" + sub);
#else
  const std::string root = dir.path().string() + "/";  // the backslash paths are plain names here
#endif
  const std::string candidates[] = {root + "\\app\\Help\\drv.hlp", root + "\\app\\drv.hlp", root + "\\lib\\drv.hlp",
                                    root + "\\lib\\..\\drv.hlp", root + "\\lib\\..\\Help\\drv.hlp"};
  for (const auto& file : candidates) std::ofstream(file) << "x";
  const std::string executable = root + "\\app\\host.exe", library = root + "\\lib\\tambre32.dll";
  for (const auto& expected : candidates) {
    char found[help_path_size];
    find_help_file("drv.hlp", executable.c_str(), library.c_str(), found);
    EXPECT_EQ(found, expected);
    std::filesystem::remove(expected);
  }
  char found[help_path_size];
  find_help_file("drv.hlp", executable.c_str(), library.c_str(), found);
  EXPECT_STREQ(found, "drv.hlp");
  find_help_file(std::string(300, 'n').c_str(), executable.c_str(), library.c_str(), found);
  EXPECT_EQ(std::string(found), std::string(260, 'n'));
}

}  // namespace
