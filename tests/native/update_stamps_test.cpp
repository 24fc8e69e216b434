// ExpandUpdateStamps: a board line's "%UPDATE" and "%UPTIME" fields.
#include "board/update_stamps.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "native/fake_file_system.h"

namespace kn {
namespace {

// Monday 2026-12-07, 09:05:03.250 local time.
const SystemTime kFileTime = MakeSystemTime(2026, 12, 7, 1, 9, 5, 3, 250);

// Shift-JIS texts: 最終更新, 年, 月, 日, 時.
#define KN_SAISHU_KOSHIN "\x8d\xc5\x8f\x49\x8d\x58\x90\x56"
#define KN_NEN "\x94\x4e"
#define KN_TSUKI "\x8c\x8e"
#define KN_HI "\x93\xfa"
#define KN_JI "\x8e\x9e"

struct StampCase {
  const char* name;
  std::string line;
  std::string expected;
};
void PrintTo(const StampCase& c, std::ostream* out) { *out << c.name; }

class UpdateStampsTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(UpdateStampsTest, ExpandsAsWritten) {
  SjisString line(GetParam().line);
  ExpandUpdateStamps(line, kFileTime);
  EXPECT_EQ(line.Bytes(), GetParam().expected);
}

const std::string k51Dashes(51, '-');

INSTANTIATE_TEST_SUITE_P(
    Fields, UpdateStampsTest,
    ::testing::Values(
        StampCase{"DefaultPatterns", KN_SAISHU_KOSHIN " %UPDATE% %UPTIME%",
                  KN_SAISHU_KOSHIN " 2026/12/07(Mon) 09:05:03"},
        StampCase{"LowerCaseKeywordKeepsBlankInPattern",
                  "%update YYYY" KN_NEN "MM" KN_TSUKI "DD" KN_HI "%",
                  " 2026" KN_NEN "12" KN_TSUKI "07" KN_HI},
        StampCase{"MixedCaseKeyword", "[%UpTiMeh:m%]", "[9:5]"},
        StampCase{"DateTakesThePercentOfTheTimeKeyword", "%UPDATE%UPTIME%", "2026/12/07(Mon)UPTIME%"},
        StampCase{"BothFieldsBackToBack", "%UPDATE%%UPTIME%", "2026/12/07(Mon)09:05:03"},
        StampCase{"KeywordAtTheEndUsesTheDefault", "on %UPDATE", "on 2026/12/07(Mon)"},
        StampCase{"TimeKeywordAtTheEnd", "t=%uptime", "t=09:05:03"},
        StampCase{"EachFieldInItsOwnPlace", "%UPTIME HH" KN_JI "% %UPDATE%",
                  " 09" KN_JI " 2026/12/07(Mon)"},
        StampCase{"OnlyTheFirstFieldOfEachKind", "%UPDATE% %UPDATE% %UPTIME% %UPTIME%",
                  "2026/12/07(Mon) %UPDATE% 09:05:03 %UPTIME%"},
        StampCase{"KanjiWeekday", "%UPDATEM/D WW%", "12/7 " KN_TSUKI},
        StampCase{"PatternOf51BytesEatsTheNextByte", "%UPDATE" + k51Dashes + "Z tail", k51Dashes + " tail"},
        StampCase{"PercentAsThe51stByteIsTheClose", "%UPDATE" + std::string(50, '-') + "%Z",
                  std::string(50, '-') + "Z"},
        StampCase{"PercentAfter51BytesStays", "%UPDATE" + k51Dashes + "%%", k51Dashes + "%"},
        StampCase{"NoKeywords", "plain %DATE% 100%", "plain %DATE% 100%"},
        StampCase{"EmptyLine", "", ""}),
    [](const ::testing::TestParamInfo<StampCase>& info) { return std::string(info.param.name); });

TEST(UpdateStamps, UsesTheGivenFilesOwnTime) {
  const SystemTime other = MakeSystemTime(1999, 1, 2, 6, 23, 59, 58);
  SjisString line("%UPDATEyy.m.d w% %UPTIMEhh-mm-ss%");
  ExpandUpdateStamps(line, other);
  EXPECT_EQ(line.Bytes(), "99.1.2 S 23-59-58");
}

}  // namespace
}  // namespace kn
