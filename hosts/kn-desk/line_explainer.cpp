#include "line_explainer.h"

#include <cstring>

#include "explain/line_explanation.h"
#include "explain/report_writer.h"
#include "platform/system_clock.h"
#include "system/clock.h"
#include "plugin/chip_logic.h"
#include "record_bridge.h"

namespace kn::desk {
namespace {

static_assert(sizeof(LogFont) == sizeof(LOGFONTA), "the chip's font record is LOGFONTA");

explain::ExplainSettings SettingsOf(const FontChoice& font, std::uint32_t textRgb, DeskLanguage language,
                                    const std::string& memo) {
  explain::ExplainSettings settings = explain::DefaultSettings();
  const LOGFONTA chipFont = ToChipFont(font);
  std::memcpy(&settings.baseFont, &chipFont, sizeof chipFont);
  settings.textColor = ToColorRef(textRgb);
  settings.language = language == DeskLanguage::kJapanese ? explain::Language::kJapanese
                                                          : explain::Language::kEnglish;
  settings.memoShowsTime = MemoShowsTime(memo);
  return settings;
}

// Line `index` of the editor's text, without its line end.
std::wstring LineOf(const std::wstring& text, int index) {
  std::size_t begin = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t end = text.find(L'\n', begin);
    if (end == std::wstring::npos) return L"";
    begin = end + 1;
  }
  std::size_t end = text.find(L'\n', begin);
  if (end == std::wstring::npos) end = text.size();
  if (end > begin && text[end - 1] == L'\r') --end;
  return text.substr(begin, end - begin);
}

std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

}  // namespace

std::wstring ExplainEditorLine(const std::wstring& editorText, int line, const FontChoice& font,
                               std::uint32_t textRgb, DeskLanguage language) {
  const std::string memo = ToChipText(editorText);
  const explain::ExplainSettings settings = SettingsOf(font, textRgb, language, memo);
  const FixedClock clock(SystemClock().LocalNow());  // one moment for the whole explanation
  const explain::LineExplanation e =
      explain::ExplainLine(ToChipText(LineOf(editorText, line)), line + 1, settings, clock);
  return WithCrLf(Widen(FromChipText(explain::DescribeLine(e, settings, clock.LocalNow()))));
}

}  // namespace kn::desk
