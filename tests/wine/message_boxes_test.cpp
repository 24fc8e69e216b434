// The About and Configure boxes, captured as the user would see them and
// closed automatically.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "wine/harness/hex_text.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/expected_texts.h"
#include "wine/harness/message_box_capture.h"

namespace kn::wine {
namespace {

std::vector<std::string> SplitAtLineFeeds(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

class MessageBoxTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    owner_ = std::make_unique<TestWindow>(200, 100);
    ASSERT_NE(owner_->hwnd(), nullptr);
  }

  // Runs the call under a capture and returns the one box it showed.
  template <typename Call>
  CapturedBox ShowOne(Call call) {
    MessageBoxCapture capture;
    EXPECT_TRUE(capture.installed());
    EXPECT_EQ(call(owner_->hwnd()), 0);
    EXPECT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.missed(), 0) << "a box escaped the hook";
    return capture.boxes().empty() ? CapturedBox{} : capture.boxes().front();
  }

  // An information box with an OK button only, owned by the given window.
  void ExpectInformationBox(const CapturedBox& box) {
    EXPECT_EQ(box.owner, owner_->hwnd());
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_INFORMATION)) << "not the information icon";
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel);
  }

  std::unique_ptr<TestWindow> owner_;
};

TEST_F(MessageBoxTest, ConfigureSaysThereIsNothingToConfigure) {
  const CapturedBox box = ShowOne(Api().DrawExConfigure);
  EXPECT_EQ(box.caption, kTitle) << Hex(box.caption);
  EXPECT_EQ(box.text, kConfigureText) << Hex(box.text);
  ExpectInformationBox(box);
}

TEST_F(MessageBoxTest, AboutShowsTheFeatureAndMarkupSummary) {
  const CapturedBox box = ShowOne(Api().DrawExAbout);
  EXPECT_EQ(box.caption, kAboutCaption) << Hex(box.caption);
  ExpectInformationBox(box);

  const std::vector<std::string> shown = SplitAtLineFeeds(box.text);
  const std::vector<std::string>& expected = AboutLines();
  EXPECT_EQ(shown.size(), expected.size()) << "line count (a trailing line feed counts as a line)";
  for (size_t i = 0; i < expected.size() && i < shown.size(); ++i) {
    SCOPED_TRACE("About line " + std::to_string(i + 1));
    EXPECT_EQ(shown[i], expected[i]) << "shown:    " << Hex(shown[i]) << "\nexpected: " << Hex(expected[i]);
  }
}

}  // namespace
}  // namespace kn::wine
