// What the desktop host says to a person: its menus, dialogs, messages and
// the first memos of new chips, in Japanese, or in English on a system that
// speaks another language. Texts are UTF-8; "{1}", "{2}"... stand for the
// values filled in. Portable.
#pragma once

#include <initializer_list>
#include <string>

namespace kn::desk {

enum class DeskLanguage { kJapanese, kEnglish };

// Chosen once when the program starts; English until then.
void UseDeskLanguage(DeskLanguage language);
DeskLanguage CurrentDeskLanguage();

enum class Text {
  kTitle,
  // The host's items in a chip's menu.
  kMenuEditMemo,
  kMenuTextColor,
  kMenuBackColor,
  kMenuFont,
  kMenuZoom,
  kMenuNewChip,
  kMenuDeleteChip,
  kMenuQuit,
  // The main window.
  kMainMenuChips,
  kMainMenuSaveNow,
  kMainMenuExit,
  kStatusChips,     // {1} count
  kStatusUnopened,  // {1} count, {2} why
  kStatusSettings,  // {1} path
  kStatusNotSaved,  // {1} why
  kDeleteQuestion,
  kCannotSave,        // {1} why, {2} path
  kCannotCreateMain,  // {1} error code
  // A message handler that failed.
  kHandlerFailed,     // {1} what failed
  kMainWindowFailed,  // {1} message, {2} why
  kChipWindowFailed,  // {1} chip, {2} message, {3} why
  // New chips.
  kFirstRunMemo,
  kNewChipMemo,
  // Chips that cannot be shown.
  kChipRefused,             // {1} InitializeChip's answer
  kCannotCreateChipWindow,  // {1} error code
  // The memo editor.
  kEditorTitle,
  kEditorAddBoardFile,
  kEditorOk,
  kEditorCancel,
  kLostCharacters,  // {1} the characters, one a line
  kLostCharacter,   // {1} line, {2} character, {3} it, {4} its code point
  kLostMore,        // {1} count
  // Starting.
  kCannotLoadPlugin,    // {1} path, {2} why
  kCannotReadSettings,  // {1} why, {2} path
  kSetAsideQuestion,    // {1} what is wrong, {2} path, {3} new name
  kCannotSetAside,      // {1} error code
  kNoProfileFolder,
  kAlreadyRunning,   // {1} path
  kCannotStart,      // {1} why
  kUnknownArgument,  // {1} argument
  kNeedsFileName,    // {1} option
  kUsage,
  // The settings file on disk.
  kFileCannotCreate,   // {1} error code
  kFileCannotWrite,    // {1} error code
  kFileCannotFlush,    // {1} error code
  kFileCannotOpen,     // {1} error code
  kFileCannotSize,     // {1} error code
  kFileCannotRead,     // {1} error code
  kFileCannotReplace,  // {1} error code
  // What is wrong with a settings file's text.
  kSettingsRead,
  kSettingsTooNew,     // {1} its version, {2} this program's
  kSettingsDamaged,    // {1} where and what
  kSettingsDamagedAt,  // {1} line, {2} what
  kProblemTooLarge,
  kProblemNotOurs,
  kProblemEmpty,
  kProblemCutShort,
  kProblemAfterEnd,
  kProblemUnknownSection,  // {1} section
  kProblemBadVersion,
  kProblemNoEquals,
  kProblemOutsideChip,  // {1} key
  kProblemUnknownKey,   // {1} key
  kProblemKeyTwice,     // {1} key
  kProblemInKey,        // {1} key, {2} what
  kProblemNumber,       // {1} lowest, {2} highest
  kProblemFlag,
  kProblemColor,
  kProblemPosition,
  kProblemHexBytes,  // {1} most bytes
  kProblemUnquoted,
  kProblemInnerQuote,
  kProblemLastBackslash,
  kProblemUnknownEscape,  // {1} escape
  kProblemNotUtf8,
  kCount
};

// The text in the current language.
const char* Say(Text id);
// The text with its values filled in.
std::string Say(Text id, std::initializer_list<std::string> values);
// The text in a given language, unfilled.
const char* SayIn(DeskLanguage language, Text id);

}  // namespace kn::desk
