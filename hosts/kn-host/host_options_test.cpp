#include <gtest/gtest.h>

#include "host_options.h"
#include "plugin/host_contract.h"

namespace kn::host {
namespace {

HostOptions Parse(const std::vector<std::wstring>& args) {
  HostOptions options;
  std::string error;
  EXPECT_TRUE(ParseHostOptions(args, options, error)) << error;
  return options;
}

TEST(HostOptions, RenderDefaults) {
  const HostOptions o = Parse({L"render", L"memo.txt", L"out.png"});
  EXPECT_EQ(o.command, HostCommand::kRender);
  EXPECT_EQ(o.memoPath, L"memo.txt");
  EXPECT_EQ(o.outPath, L"out.png");
  EXPECT_TRUE(o.dllPath.empty());
  EXPECT_FALSE(o.utf8);
  EXPECT_FALSE(o.outerSize.has_value());
  EXPECT_EQ(o.textColor, RGB(0, 0, 0));
  EXPECT_EQ(o.fontHeight, -12);
  EXPECT_FALSE(o.WantsSaveBlock());
}

TEST(HostOptions, EveryRenderOption) {
  const HostOptions o =
      Parse({L"render", L"--utf8", L"m.txt", L"--dll", L"x\\k.dll", L"--size", L"240x120",
             L"--text-color", L"FF8000", L"--back-color", L"#0080ff", L"--font", L"Arial",
             L"--font-height", L"-16", L"--bold", L"--board", L"--scroll", L"--link-color",
             L"green", L"o.png"});
  EXPECT_EQ(o.memoPath, L"m.txt");
  EXPECT_EQ(o.outPath, L"o.png");
  EXPECT_EQ(o.dllPath, L"x\\k.dll");
  EXPECT_TRUE(o.utf8);
  ASSERT_TRUE(o.outerSize.has_value());
  EXPECT_EQ(o.outerSize->cx, 240);
  EXPECT_EQ(o.outerSize->cy, 120);
  EXPECT_EQ(o.textColor, RGB(0xFF, 0x80, 0x00));  // RRGGBB read in that order
  EXPECT_EQ(o.backColor, RGB(0x00, 0x80, 0xFF));
  EXPECT_EQ(o.face, L"Arial");
  EXPECT_EQ(o.fontHeight, -16);
  EXPECT_TRUE(o.bold);
  EXPECT_TRUE(o.board);
  EXPECT_TRUE(o.scroll);
  EXPECT_EQ(o.linkColor, IDM_LINK_GREEN);
}

TEST(HostOptions, EachModeOptionAsksForASavedBlock) {
  EXPECT_TRUE(Parse({L"render", L"m", L"o", L"--board"}).WantsSaveBlock());
  EXPECT_TRUE(Parse({L"render", L"m", L"o", L"--scroll"}).WantsSaveBlock());
  EXPECT_TRUE(Parse({L"render", L"m", L"o", L"--link-color", L"red"}).WantsSaveBlock());
  EXPECT_FALSE(Parse({L"render", L"m", L"o", L"--bold", L"--utf8"}).WantsSaveBlock());
}

TEST(HostOptions, LinkColourNames) {
  EXPECT_EQ(Parse({L"render", L"m", L"o", L"--link-color", L"red"}).linkColor, IDM_LINK_RED);
  EXPECT_EQ(Parse({L"render", L"m", L"o", L"--link-color", L"blue"}).linkColor, IDM_LINK_BLUE);
}

TEST(HostOptions, HelpAndInfo) {
  EXPECT_EQ(Parse({L"--help"}).command, HostCommand::kHelp);
  EXPECT_EQ(Parse({L"render", L"-h"}).command, HostCommand::kHelp);
  const HostOptions info = Parse({L"info", L"--dll", L"a.dll"});
  EXPECT_EQ(info.command, HostCommand::kInfo);
  EXPECT_EQ(info.dllPath, L"a.dll");
}

struct BadLine {
  const char* name;
  std::vector<std::wstring> args;
  const char* messagePart;
};

class HostOptionsRejects : public ::testing::TestWithParam<BadLine> {};

TEST_P(HostOptionsRejects, WithAMessage) {
  HostOptions options;
  std::string error;
  EXPECT_FALSE(ParseHostOptions(GetParam().args, options, error));
  EXPECT_NE(error.find(GetParam().messagePart), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostOptionsRejects,
    ::testing::Values(
        BadLine{"Empty", {}, "no command"},
        BadLine{"UnknownCommand", {L"draw"}, "unknown command"},
        BadLine{"OneFile", {L"render", L"m.txt"}, "MEMO.txt and OUT.png"},
        BadLine{"ThreeFiles", {L"render", L"a", L"b", L"c"}, "MEMO.txt and OUT.png"},
        BadLine{"UnknownOption", {L"render", L"a", L"b", L"--big"}, "unknown option --big"},
        BadLine{"UnknownOptionBeforeAFile", {L"render", L"a", L"--big", L"b"},
                "unknown option --big"},
        BadLine{"MissingValue", {L"render", L"a", L"b", L"--dll"}, "--dll needs a value"},
        BadLine{"ShortColour", {L"render", L"a", L"b", L"--text-color", L"FFF"}, "--text-color"},
        BadLine{"NonHexColour", {L"render", L"a", L"b", L"--back-color", L"GG0000"},
                "--back-color"},
        BadLine{"LongColour", {L"render", L"a", L"b", L"--back-color", L"FF00001"},
                "--back-color"},
        BadLine{"SizeWithoutX", {L"render", L"a", L"b", L"--size", L"240"}, "--size"},
        BadLine{"ZeroWidth", {L"render", L"a", L"b", L"--size", L"0x10"}, "--size"},
        BadLine{"NegativeHeight", {L"render", L"a", L"b", L"--size", L"10x-5"}, "--size"},
        BadLine{"HugeSize", {L"render", L"a", L"b", L"--size", L"99999x10"}, "--size"},
        BadLine{"SizeTrailingText", {L"render", L"a", L"b", L"--size", L"10x10px"}, "--size"},
        BadLine{"FontHeightWord", {L"render", L"a", L"b", L"--font-height", L"big"},
                "--font-height"},
        BadLine{"FontHeightSpace", {L"render", L"a", L"b", L"--font-height", L" 12"},
                "--font-height"},
        BadLine{"LinkColourName", {L"render", L"a", L"b", L"--link-color", L"Red"},
                "--link-color"},
        BadLine{"InfoWithFile", {L"info", L"x.dll"}, "unexpected argument"}),
    [](const ::testing::TestParamInfo<BadLine>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::host
