#include "desk_texts.h"

#include <iterator>
#include <vector>

namespace kn::desk {
namespace {

struct Row {
  Text id;
  const char* japanese;
  const char* english;
};

// In the order of Text; a test holds the table to it.
constexpr Row kRows[] = {
    {Text::kTitle, "Kaleidonote Desk", "Kaleidonote Desk"},
    {Text::kMenuEditMemo, "メモの編集(&E)...", "&Edit memo..."},
    {Text::kMenuTextColor, "文字の色(&T)...", "&Text colour..."},
    {Text::kMenuBackColor, "背景の色(&G)...", "Back&ground colour..."},
    {Text::kMenuFont, "フォント(&F)...", "&Font..."},
    {Text::kMenuZoom, "ズーム(&Z)", "&Zoom"},
    {Text::kMenuNewChip, "新しいチップ(&N)", "&New chip"},
    {Text::kMenuDeleteChip, "チップの削除(&D)...", "&Delete chip..."},
    {Text::kMenuQuit, "Kaleidonote Desk の終了(&Q)", "&Quit Kaleidonote Desk"},
    {Text::kMainMenuChips, "チップ(&C)", "&Chips"},
    {Text::kMainMenuSaveNow, "今すぐ保存(&S)", "&Save now"},
    {Text::kMainMenuExit, "終了(&X)", "E&xit"},
    {Text::kStatusChips,
     "チップ {1} 枚。チップを右クリックするとメニューが出ます。ドラッグで動かせます。",
     "Chips: {1}. Right-click a chip for its menu; drag a chip to move it."},
    {Text::kStatusUnopened, "{1} 枚は表示できませんでした（{2}）。そのまま保存します。",
     "{1} could not be shown ({2}) and are kept as they were."},
    {Text::kStatusSettings, "設定ファイル: {1}", "Settings: {1}"},
    {Text::kStatusNotSaved, "保存できていません: {1}", "Not saved: {1}"},
    {Text::kDeleteQuestion, "このチップとそのメモを削除しますか？", "Delete this chip and its memo?"},
    {Text::kCannotSave, "設定を保存できません:\n{1}\n\n{2}", "The settings cannot be saved:\n{1}\n\n{2}"},
    {Text::kCannotCreateMain, "メインウィンドウを作れません（エラー {1}）",
     "cannot create the main window (error {1})"},
    {Text::kHandlerFailed,
     "{1}\n\n設定ファイルは最後に保存した内容のままです。この後の変更は保存されません。"
     "Kaleidonote Desk を起動し直してください。",
     "{1}\n\nThe settings file keeps what was last saved. Changes from now on are not saved: "
     "start Kaleidonote Desk again."},
    {Text::kMainWindowFailed, "メインウィンドウで {1} の処理に失敗しました: {2}",
     "The main window failed to handle {1}: {2}"},
    {Text::kChipWindowFailed, "チップ {1} で {2} の処理に失敗しました: {3}", "Chip {1} failed to handle {2}: {3}"},
    {Text::kFirstRunMemo,
     "$b|Kaleidonote Desk\r\nこのチップを右クリックするとメニューが出ます。\r\nドラッグで動かせます。",
     "$b|Kaleidonote Desk\r\nRight-click this chip for its menu.\r\nDrag it to move it."},
    {Text::kNewChipMemo, "新しいチップ\r\n右クリックして「メモの編集...」で書き換えます。",
     "New chip\r\nRight-click it for its menu: Edit memo..."},
    {Text::kChipRefused, "プラグインがチップを作れませんでした（InitializeChip の答え {1}）",
     "the plug-in could not create the chip (InitializeChip answered {1})"},
    {Text::kCannotCreateChipWindow, "チップのウィンドウを作れません（エラー {1}）",
     "cannot create the chip's window (error {1})"},
    {Text::kEditorTitle, "メモの編集", "Edit memo"},
    {Text::kEditorAddBoardFile, "掲示板ファイルを追加(&B)...", "Add &board file..."},
    {Text::kEditorOk, "OK", "OK"},
    {Text::kEditorCancel, "キャンセル", "Cancel"},
    {Text::kLostCharacters,
     "次の文字はチップの文字コード（シフトJIS）にないため、チップには 〓 と表示されます。\n\n{1}\n"
     "設定ファイルにはこのまま残ります。このメモを保存しますか？",
     "The chip's code page (Shift-JIS) has none of these characters, so the chip shows 〓 for "
     "them:\n\n{1}\nThe settings file keeps them as they are. Save the memo?"},
    {Text::kLostCharacter, "{1} 行目 {2} 文字目: {3}（U+{4}）", "line {1}, character {2}: {3} (U+{4})"},
    {Text::kLostMore, "ほか {1} 文字", "and {1} more"},
    {Text::kCannotLoadPlugin, "プラグインを読み込めません:\n{1}\n{2}", "The plug-in cannot be loaded:\n{1}\n{2}"},
    {Text::kCannotReadSettings,
     "設定ファイルを読めません: {1}\n\n{2}\n\nKaleidonote Desk を終了します。ファイルはそのまま残します。",
     "The settings file cannot be read: {1}.\n\n{2}\n\nKaleidonote Desk quits and leaves the file as it is."},
    {Text::kSetAsideQuestion,
     "{1}\n\n{2}\n\nはい: このファイルを\n{3}\nとして残し、新しい設定で始めます。\n\n"
     "いいえ: 終了し、ファイルはそのまま残します。",
     "{1}\n\n{2}\n\nYes: keep that file as\n{3}\nand start with new settings.\n\n"
     "No: quit and leave the file as it is."},
    {Text::kCannotSetAside,
     "設定ファイルを別の名前で残せません（エラー {1}）。\n\nKaleidonote Desk を終了します。ファイルはそのまま残します。",
     "The settings file cannot be set aside (error {1}).\n\nKaleidonote Desk quits and leaves the file as it is."},
    {Text::kNoProfileFolder,
     "このユーザーのプロファイルには設定を置くフォルダーがありません。--settings でファイルを指定してください。",
     "There is no folder for the settings in this user's profile; name a file with --settings."},
    {Text::kAlreadyRunning, "Kaleidonote Desk はこの設定ファイルで既に動いています:\n{1}",
     "Kaleidonote Desk is already running with these settings:\n{1}"},
    {Text::kCannotStart, "Kaleidonote Desk を始められません: {1}", "Kaleidonote Desk cannot start: {1}"},
    {Text::kUnknownArgument, "知らない引数です: {1}", "unknown argument {1}"},
    {Text::kNeedsFileName, "{1} の後にファイル名が要ります", "{1} needs a file name"},
    {Text::kUsage,
     "kn-desk: Kaleidonote のチップをデスクトップに表示します。\n"
     "\n"
     "使い方: kn-desk [--settings ファイル] [--dll ファイル]\n"
     "\n"
     "  --settings ファイル  設定ファイル（省略時: ユーザーのアプリケーション\n"
     "                       データ フォルダーの Kaleidonote\\desk-settings.txt）\n"
     "  --dll ファイル       プラグイン（省略時: kn-desk と同じフォルダーの\n"
     "                       kaleidonote.dll）\n"
     "  --help               この説明\n"
     "\n"
     "チップを右クリックするとメニューが出ます。ドラッグで動かせます。\n",
     "kn-desk: Kaleidonote chips on the desktop.\n"
     "\n"
     "Usage: kn-desk [--settings FILE] [--dll FILE]\n"
     "\n"
     "  --settings FILE  the settings file (default: Kaleidonote\\desk-settings.txt\n"
     "                   in the user's application data folder)\n"
     "  --dll FILE       the plug-in (default: kaleidonote.dll beside kn-desk)\n"
     "  --help           this text\n"
     "\n"
     "Right-click a chip for its menu; drag a chip to move it.\n"},
    {Text::kFileCannotCreate, "ファイルを作れません（エラー {1}）", "cannot create the file (error {1})"},
    {Text::kFileCannotWrite, "ファイルに書けません（エラー {1}）", "cannot write the file (error {1})"},
    {Text::kFileCannotFlush, "ファイルをディスクに書き込めません（エラー {1}）",
     "cannot write the file to disk (error {1})"},
    {Text::kFileCannotOpen, "ファイルを開けません（エラー {1}）", "cannot open the file (error {1})"},
    {Text::kFileCannotSize, "ファイルの大きさを読めません（エラー {1}）",
     "cannot read the file's size (error {1})"},
    {Text::kFileCannotRead, "ファイルを読めません（エラー {1}）", "cannot read the file (error {1})"},
    {Text::kFileCannotReplace, "設定ファイルを置き換えられません（エラー {1}）",
     "cannot replace the settings file (error {1})"},
    {Text::kSettingsRead, "設定を読みました。", "The settings were read."},
    {Text::kSettingsTooNew,
     "設定ファイルはデスクトップ ホストの新しい版（{1}）が書いたものです。この版が読めるのは版 {2} までです。",
     "The settings file was written by a newer version ({1}) of the desktop host; this one reads "
     "version {2} and older."},
    {Text::kSettingsDamaged, "設定ファイルが壊れています（{1}）。", "The settings file is damaged ({1})."},
    {Text::kSettingsDamagedAt, "設定ファイルが壊れています（{1} 行目: {2}）。",
     "The settings file is damaged (line {1}: {2})."},
    {Text::kProblemTooLarge, "このプログラムが書くどの設定ファイルよりも大きなファイルです",
     "the file is larger than any settings file this program writes"},
    {Text::kProblemNotOurs, "Kaleidonote Desk の設定ファイルではありません",
     "not a Kaleidonote desk settings file"},
    {Text::kProblemEmpty, "ファイルが空か、Kaleidonote Desk の設定ファイルではありません",
     "the file is empty or not a Kaleidonote desk settings file"},
    {Text::kProblemCutShort, "[end] の前でファイルが終わっています。途中で切れたのかもしれません",
     "the file ends before [end]; it may have been cut short"},
    {Text::kProblemAfterEnd, "[end] の後に文字があります", "text after [end]"},
    {Text::kProblemUnknownSection, "知らない節です: {1}", "unknown section {1}"},
    {Text::kProblemBadVersion, "kaleidonote-desk の後の版が 1 以上の数ではありません",
     "the version after kaleidonote-desk is not a number from 1 up"},
    {Text::kProblemNoEquals, "「キー = 値」の形ではありません", "expected key = value"},
    {Text::kProblemOutsideChip, "{1} が [chip] 節の外にあります", "{1} outside a [chip] section"},
    {Text::kProblemUnknownKey, "知らないキーです: '{1}'", "unknown key '{1}'"},
    {Text::kProblemKeyTwice, "一つのチップに {1} が二度あります", "{1} given twice for one chip"},
    {Text::kProblemInKey, "{1}: {2}", "{1}: {2}"},
    {Text::kProblemNumber, "{1} から {2} までの整数が要ります",
     "expected a whole number from {1} to {2}"},
    {Text::kProblemFlag, "0 か 1 が要ります", "expected 0 or 1"},
    {Text::kProblemColor, "#RRGGBB の形の色が要ります", "expected a colour written #RRGGBB"},
    {Text::kProblemPosition, "X, Y の形の位置が要ります", "expected a position written X, Y"},
    {Text::kProblemHexBytes, "16 進数字 2 桁ずつ、{1} バイトまでが要ります",
     "expected pairs of hexadecimal digits, at most {1} bytes"},
    {Text::kProblemUnquoted, "文字列は二重引用符で囲みます", "a text must be enclosed in double quotes"},
    {Text::kProblemInnerQuote, "文字列の中の二重引用符は \\\" と書きます",
     "a double quote inside a text must be written \\\""},
    {Text::kProblemLastBackslash, "文字列が \\ で終わっています", "a backslash ends the text"},
    {Text::kProblemUnknownEscape, "知らないエスケープです: \\{1}", "unknown escape \\{1}"},
    {Text::kProblemNotUtf8, "文字列が UTF-8 として正しくありません", "the text is not valid UTF-8"},
};
static_assert(std::size(kRows) == static_cast<std::size_t>(Text::kCount), "a row for every text");

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (static_cast<std::size_t>(kRows[i].id) != i) return false;
  }
  return true;
}
static_assert(RowsInOrder(), "each row where its Text says");

DeskLanguage g_language = DeskLanguage::kEnglish;

}  // namespace

void UseDeskLanguage(DeskLanguage language) { g_language = language; }

DeskLanguage CurrentDeskLanguage() { return g_language; }

const char* SayIn(DeskLanguage language, Text id) {
  const Row& row = kRows[static_cast<std::size_t>(id)];
  return language == DeskLanguage::kJapanese ? row.japanese : row.english;
}

const char* Say(Text id) { return SayIn(g_language, id); }

std::string Say(Text id, std::initializer_list<std::string> values) {
  const std::vector<std::string> filled(values);
  const std::string pattern = Say(id);
  std::string text;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const char digit = at + 2 < pattern.size() ? pattern[at + 1] : '\0';
    if (pattern[at] == '{' && digit >= '1' && digit <= '9' && pattern[at + 2] == '}') {
      const std::size_t index = static_cast<std::size_t>(digit - '1');
      if (index < filled.size()) text += filled[index];
      at += 2;
    } else {
      text += pattern[at];
    }
  }
  return text;
}

}  // namespace kn::desk
