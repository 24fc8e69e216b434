#include <cstdio>

#include "host_commands.h"
#include "memo_file.h"
#include "png_writer.h"
#include "render_memo.h"
#include "wide_text.h"

namespace kn::host {
namespace {

using driver::kDefaultFace;
using driver::MakeNoteFont;
using driver::RenderMemo;
using driver::RenderRequest;
using driver::RenderResult;
using driver::SaveModes;

bool MakeFont(const HostOptions& options, LOGFONTA& font, std::string& error) {
  std::string face = kDefaultFace;
  if (!options.face.empty() && !WideToShiftJis(options.face, face)) {
    error = "the font face has characters that code page 932 lacks";
    return false;
  }
  font = MakeNoteFont(face, options.fontHeight, options.bold);
  return true;
}

SaveModes ModesFrom(const HostOptions& options) {
  SaveModes modes;
  modes.boardMode = options.board ? IDM_BOARD_MODE : 0;
  modes.scrollMode = options.scroll ? IDM_SCROLL_MODE : 0;
  if (options.linkColor) modes.linkColor = *options.linkColor;
  return modes;
}

bool BuildRequest(const HostOptions& options, RenderRequest& request, std::string& error) {
  request.dllPath = options.dllPath.empty() ? DefaultDllPath() : options.dllPath;
  if (!ReadMemoFile(options.memoPath, options.utf8, request.memo, error)) {
    error = WideToUtf8(options.memoPath) + ": " + error;
    return false;
  }
  if (!options.utf8 && LooksLikeUtf8(request.memo)) {
    std::fprintf(stderr,
                 "kn-host: warning: %s looks like UTF-8, but memos are read as code page 932 "
                 "(Shift-JIS), as the host keeps them; add --utf8 to read it as UTF-8\n",
                 WideToUtf8(options.memoPath).c_str());
  }
  request.textColor = options.textColor;
  request.backColor = options.backColor;
  request.outerSize = options.outerSize;
  if (options.WantsSaveBlock()) request.modes = ModesFrom(options);
  return MakeFont(options, request.font, error);
}

}  // namespace

int RunRender(const HostOptions& options) {
  RenderRequest request;
  RenderResult result;
  std::string error;
  if (!BuildRequest(options, request, error) || !RenderMemo(request, result, error)) {
    ReportError(error);
    return kExitFailed;
  }
  if (!result.sizeSettled) {
    std::fprintf(stderr, "kn-host: warning: CalcDefaultRect did not settle after %d calls\n",
                 result.sizingCalls);
  }
  if (!WritePng(options.outPath, result.picture, error)) {
    ReportError(WideToUtf8(options.outPath) + ": " + error);
    return kExitFailed;
  }
  std::printf("%s %dx%d (window %ldx%ld)\n", WideToUtf8(options.outPath).c_str(),
              result.picture.width, result.picture.height, result.outerSize.cx,
              result.outerSize.cy);
  return kExitDone;
}

}  // namespace kn::host
