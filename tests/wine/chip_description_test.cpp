// The record a host asks for before it creates any chip (DrawExSpecification)
// and the entry points that only answer with a constant.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/expected_texts.h"

namespace kn::wine {
namespace {

std::int32_t IntAt(const std::vector<std::uint8_t>& bytes, size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

using DescriptionTest = PluginTest;

TEST_F(DescriptionTest, WritesTheSixValuesAndNothingFrom72On) {
  std::vector<std::uint8_t> record(512, 0xCC);
  EXPECT_EQ(Api().DrawExSpecification(reinterpret_cast<ChipDescription*>(record.data())), 0);

  EXPECT_EQ(IntAt(record, 0), 256);
  EXPECT_EQ(IntAt(record, 4), 256);
  EXPECT_EQ(IntAt(record, 60), 141);
  EXPECT_EQ(IntAt(record, 64), 2);
  EXPECT_EQ(IntAt(record, 68), 126);

  const size_t titleLength = sizeof kTitle;  // with its NUL
  ASSERT_LE(titleLength, 52u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[8]), titleLength),
            std::string(kTitle, titleLength));

  for (size_t i = 72; i < record.size(); ++i) {
    if (record[i] == 0xCC) continue;
    ADD_FAILURE() << "byte " << i << " was written";
    break;
  }
}

TEST_F(DescriptionTest, HostStubsAnswerTheirConstants) {
  EXPECT_EQ(Api().Resize(), 1);
  EXPECT_EQ(Api().ExchangeSendString(), 0);
  EXPECT_EQ(Api().GetMemoString(), 0);
}

}  // namespace
}  // namespace kn::wine
