// Where kn-desk's words go besides its windows: the terminal, console or
// file it was started from, when there is one, so that --help, a mistaken
// command line and a failed start are seen there too.
#pragma once

#include <string>

namespace kn::desk {

enum class StdStream { kOutput, kError };

// Writes a UTF-8 text to the program's standard output or error, or else to
// the console of the program that started it. False when there is neither.
bool WriteToStarter(const std::string& text, StdStream stream);

// Shows a text whose lines are laid out in columns (the --help text) in a
// box with a fixed-pitch font, which keeps them lined up.
void ShowInColumns(const std::string& title, const std::string& text);

}  // namespace kn::desk
