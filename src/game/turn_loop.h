// The turn loop's reading of the user's answers, apart from game.h for the tests and the fuzzer
// that drive it line by line; the game itself goes through run_game().
#pragma once

#include <cstdint>
#include <optional>

#include "game/game.h"

namespace game {

// Reads a guess line as a number: the code it gives, or nothing for a line that is no valid code
// (the loop says so and asks again). "123" is the code 0123. A history request is the loop's to
// catch before.
std::optional<Code> scan_guess(const char* line);

// The two numbers of an answer line as typed (each wrapped to 32 bits as its scan does): "0H20B"
// is 0 and 20, though the game keeps it as 4H.
struct AnswerCounts {
  std::int32_t hits;
  std::int32_t blows;
};

// Reads one answer line. Returns the score the line gives (5 * hits + blows, any value >= 0),
// a negative value for a line that reads as numbers but works out negative (dropped silently),
// or nothing for a line that can't be read as an answer; then `counts`, when given, holds the
// numbers typed ("X" is 0 and 0).
std::optional<ScoreCode> scan_answer(const char* line, AnswerCounts* counts = nullptr);

// Reads lines until one gives an answer of 0 or more, printing slots 25 and 26 after each line
// that can't be read. Nothing at end of input.
std::optional<ScoreCode> parse_answer();

}  // namespace game
