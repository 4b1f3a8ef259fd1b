// What the page asks of the game's own code besides a game: how many codes a side's rows leave,
// turn by turn, and the computer's secret for a seed. The page asks these of an instance of the
// program that never runs main() (no game, no input), so the running game is never disturbed.
#include <emscripten.h>

#include "game/game.h"
#include "player/player.h"

namespace {

// One side's rows as the page writes them: guesses, then their scores, then the codes left after
// each row, which hitblow_codes_left() fills. A game has at most k_max_turns turns.
constexpr int k_rows = game::k_max_turns;
int g_board[3 * k_rows];

}  // namespace

extern "C" {

// The page's buffer for one side's rows (see g_board).
EMSCRIPTEN_KEEPALIVE int* hitblow_board() { return g_board; }

// Filters the 5040 codes by the first `rows` rows of the buffer with the computer's own filter,
// one row after another, and writes how many agree after each row into the buffer's third part.
// A count of 0 means the rows contradict each other. Rows outside 0..k_rows are clamped.
EMSCRIPTEN_KEEPALIVE void hitblow_codes_left(int rows) {
  if (rows > k_rows) rows = k_rows;
  player::CandidateTable table;
  player::fill_candidates(table);
  int count = codes::k_code_count;
  for (int row = 0; row < rows; ++row) {
    count =
        player::filter_candidates(count, table.data(), 1, &g_board[row], &g_board[k_rows + row]);
    g_board[2 * k_rows + row] = count;
  }
}

// The computer's secret in a game without options whose seed is the page's Module.seed: the
// game's own start-up draws it, as the run with that seed did.
EMSCRIPTEN_KEEPALIVE int hitblow_secret() {
  char name[] = "hitblow";
  char* argv[] = {name, nullptr};
  return game::start_up(1, argv).secret;
}

}  // extern "C"
