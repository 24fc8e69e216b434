// A desktop for tests: a fixed window geometry, keys set by the test, text
// measured by FakeTextSurface, and every launch, copy, message box, menu and
// dialog recorded.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fake_text_surface.h"
#include "system/desktop.h"

namespace kn::testing {

class FakeDesktop : public Desktop {
 public:
  struct Launch {
    std::string program, parameters, directory;
  };
  struct Message {
    std::string text, caption;
    MessageIcon icon;
  };
  struct Menu {
    std::vector<MenuEntry> entries;
    std::vector<std::int32_t> checked;
  };

  Rect ClientRect() override { return client; }
  Size FrameThickness() override { return frame; }
  Rect WorkArea() override { return workArea; }
  Size OuterSize(Size inner) override { return {inner.width + 2, inner.height + 2}; }
  KeyState Keys() override { return keys; }
  std::unique_ptr<TextSurface> OpenSurface() override {
    ++surfacesOpened;
    return std::make_unique<FakeTextSurface>();
  }
  std::unique_ptr<Canvas> OpenCanvas(DcHandle) override { return nullptr; }

  int ShellOpen(const std::string& program, const std::string& parameters,
                const std::string& directory) override {
    launches.push_back({program, parameters, directory});
    return shellResult;
  }
  bool CopyToClipboard(std::string_view text) override {
    copies.emplace_back(text);
    return true;
  }
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon});
    if (icon == MessageIcon::kError) failures.push_back(text);
  }
  MenuHandle BuildMenu(const std::vector<MenuEntry>& entries,
                       const std::vector<std::int32_t>& checked) override {
    menus.push_back({entries, checked});
    return &menus.back();
  }
  std::string AskForFileToOpen(const OpenFileRequest& request) override {
    fileRequests.push_back(request);
    return chosenFile;
  }

  Rect client{0, 0, 300, 200};
  Size frame{4, 4};
  Rect workArea{0, 0, 1024, 768};
  KeyState keys{false, false};
  int shellResult = 33;
  std::string chosenFile;

  int surfacesOpened = 0;
  std::vector<Launch> launches;
  std::vector<std::string> copies;
  std::vector<Message> messages;
  std::vector<std::string> failures;  // the texts of the error boxes
  std::vector<Menu> menus;
  std::vector<OpenFileRequest> fileRequests;
};

}  // namespace kn::testing
