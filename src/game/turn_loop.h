// The turn loop's reading of the user's answers, apart from game.h for the tests and the fuzzer
// that drive it line by line; the game itself goes through run_game().
#pragma once

#include <optional>

#include "game/game.h"

namespace game {

// Reads one answer line. Returns the score the line gives (5 * hits + blows, any value >= 0),
// a negative value for a line that reads as numbers but works out negative (dropped silently),
// or nothing for a line that can't be read as an answer.
std::optional<ScoreCode> scan_answer(const char* line);

// Reads lines until one gives an answer of 0 or more, printing slots 25 and 26 after each line
// that can't be read. Nothing at end of input.
std::optional<ScoreCode> parse_answer();

}  // namespace game
