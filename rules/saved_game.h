#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rules {

class Game;
class RecordingRandom;

// A game in progress as text to keep: the draws its turns have made, each the 16 hex
// digits of its bits, so that it reads back exactly whatever the locale.
[[nodiscard]] std::string savedGame(const std::vector<double> &draws);

// Plays a kept game again, on a window that has just been loaded, through the rules
// themselves: its turns in order, player 1 first. False, having played nothing, for
// text that is not a game stopped between two turns before its end; false too when a
// turn fails, and the window must then be loaded again.
[[nodiscard]] bool restoreGame(std::string_view text, Game &game, RecordingRandom &random);

} // namespace rules
