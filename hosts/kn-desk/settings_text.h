// The settings file's text form: a versioned, line-based format that a person
// can read and edit. It opens with "kaleidonote-desk VERSION", holds one
// "[chip]" section of "key = value" lines per chip and closes with "[end]",
// so that a file cut short is recognised as damaged. Lines starting with '#'
// are comments; they are read past and not kept, and the written text says
// so.
#pragma once

#include <string>

#include "desk_settings.h"

namespace kn::desk {

enum class SettingsVerdict {
  kRead,      // the settings are in `settings`
  kDamaged,   // not a settings file of ours, or broken; `line` and `problem` say where
  kTooNew,    // written by a newer version (`version`), whose changes this one would lose
};

struct SettingsReading {
  SettingsVerdict verdict = SettingsVerdict::kDamaged;
  DeskSettings settings;
  int line = 0;  // 1-based line of the problem; 0 for the file as a whole
  int version = 0;
  std::string problem;
};

SettingsReading ReadSettingsText(const std::string& text);

// The text that ReadSettingsText reads back as the same settings; lines end
// in "\r\n".
std::string WriteSettingsText(const DeskSettings& settings);

// One sentence for a person: why the file cannot be used.
std::string DescribeReading(const SettingsReading& reading);

}  // namespace kn::desk
