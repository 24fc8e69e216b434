// The desktop host's command line.
#include "desk_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desk_texts.h"

namespace kn::desk {
namespace {

TEST(DeskOptions, TakesTheSettingsFileAndTheDll) {
  DeskOptions options;
  std::wstring error;
  ASSERT_TRUE(ParseDeskOptions({L"--settings", L"C:\\a b\\s.txt", L"--dll", L"k.dll"}, options, error));
  EXPECT_EQ(options.settingsPath, L"C:\\a b\\s.txt");
  EXPECT_EQ(options.dllPath, L"k.dll");
  EXPECT_FALSE(options.help);
}

TEST(DeskOptions, NothingGivenMeansTheDefaults) {
  DeskOptions options;
  options.settingsPath = L"left over";
  std::wstring error;
  ASSERT_TRUE(ParseDeskOptions({}, options, error));
  EXPECT_TRUE(options.settingsPath.empty());
  EXPECT_TRUE(options.dllPath.empty());
}

TEST(DeskOptions, AsksForHelp) {
  for (const wchar_t* word : {L"--help", L"-h", L"/?"}) {
    DeskOptions options;
    std::wstring error;
    ASSERT_TRUE(ParseDeskOptions({L"--settings", L"s.txt", word}, options, error));
    EXPECT_TRUE(options.help);
  }
  EXPECT_NE(std::string(Say(Text::kUsage)).find("--settings"), std::string::npos);
}

TEST(DeskOptions, RejectsWhatItDoesNotKnow) {
  struct Case {
    std::vector<std::wstring> args;
    std::wstring says;
  } cases[] = {
      {{L"--settings"}, L"--settings needs a file name"},
      {{L"--dll", L""}, L"--dll needs a file name"},
      {{L"s.txt"}, L"unknown argument s.txt"},
      {{L"--setting", L"s.txt"}, L"unknown argument --setting"},
  };
  for (const Case& c : cases) {
    DeskOptions options;
    std::wstring error;
    EXPECT_FALSE(ParseDeskOptions(c.args, options, error));
    EXPECT_EQ(error, c.says);
  }
}

}  // namespace
}  // namespace kn::desk
