// What the page asks of the game's own code besides a game, so that it never keeps a copy of the
// rules: how the turn loop reads a line as an answer or as a code, the score of a guess, whether
// a score can be given at all, how many codes a side's rows leave, turn by turn, and the
// computer's secret for a seed. The page asks these of an instance of the program that never runs
// main() (no game, no input), so the running game is never disturbed. Lines and numbers go
// through the buffers below (web/questions.js).
#include <emscripten.h>

#include <cstdint>
#include <optional>

#include "console/console.h"
#include "game/game.h"
#include "game/turn_loop.h"
#include "player/player.h"
#include "questions.h"

namespace {

// One side's rows as the page writes them: guesses, their hits, their blows, then the codes left
// after each row, which hitblow_codes_left() fills. A game has at most k_max_turns turns.
constexpr int k_rows = game::k_max_turns;
int g_board[4 * k_rows];

// The line a question is about (a NUL ends it), and the numbers of a reply.
char g_line[console::k_line_bytes];
std::int32_t g_reply[4];

// A score as hits and blows, the way print_scored shows it, into the reply from `at` on.
void reply_score(int at, codes::ScoreCode score) {
  g_reply[at] = score / 5;
  g_reply[at + 1] = score % 5;
}

}  // namespace

extern "C" {

// The page's buffers: one side's rows (see g_board), the line, the reply.
EMSCRIPTEN_KEEPALIVE int* hitblow_board() { return g_board; }
EMSCRIPTEN_KEEPALIVE char* hitblow_line() { return g_line; }
EMSCRIPTEN_KEEPALIVE std::int32_t* hitblow_reply() { return g_reply; }

// Filters the 5040 codes by the first `rows` rows of the buffer with the computer's own filter,
// one row after another, and writes how many agree after each row into the buffer's last part.
// A count of 0 means the rows contradict each other. Rows outside 0..k_rows are clamped.
EMSCRIPTEN_KEEPALIVE void hitblow_codes_left(int rows) {
  if (rows > k_rows) rows = k_rows;
  player::CandidateTable table;
  player::fill_candidates(table);
  int count = codes::k_code_count;
  for (int row = 0; row < rows; ++row) {
    const codes::ScoreCode score = 5 * g_board[k_rows + row] + g_board[2 * k_rows + row];
    count = player::filter_candidates(count, table.data(), 1, &g_board[row], &score);
    g_board[3 * k_rows + row] = count;
  }
}

// How the turn loop reads the line as an answer: 1 when it takes one, with the numbers typed as
// hits and blows in the reply's first two and the score it keeps in the last two; 0 when it
// can't read the line and reminds the player of the syntax.
EMSCRIPTEN_KEEPALIVE int hitblow_scan_answer() {
  game::AnswerCounts typed{};
  const std::optional<codes::ScoreCode> score = game::scan_answer(g_line, &typed);
  if (!score) return 0;
  g_reply[0] = typed.hits;
  g_reply[1] = typed.blows;
  reply_score(2, *score);
  return 1;
}

// The code the turn loop reads from the line as a guess, or -1 when it refuses it as no code.
EMSCRIPTEN_KEEPALIVE int hitblow_code_of_line() { return game::scan_guess(g_line).value_or(-1); }

// The score of `guess` against `code`, as hits and blows in the reply's first two.
EMSCRIPTEN_KEEPALIVE void hitblow_score(int guess, int code) {
  reply_score(0, codes::score_guess(guess, code));
}

// Whether a guess can be scored `hits` hits and `blows` blows against some code, or why not
// (web::ScoreFault). Scoring every code against one guess decides it: within four digits the
// one pair no code gives is three hits and a blow, as the fourth digit has nowhere else to be.
EMSCRIPTEN_KEEPALIVE int hitblow_score_fault(int hits, int blows) {
  if (hits < 0 || blows < 0) return web::k_score_negative;
  if (hits + blows > static_cast<int>(codes::Digits{}.size())) return web::k_score_too_many;
  for (codes::Code code = 0; code < 10000; ++code) {
    const codes::ScoreCode score = codes::score_guess(123, code);
    if (codes::is_valid_code(code) && score / 5 == hits && score % 5 == blows) {
      return web::k_score_possible;
    }
  }
  return web::k_score_three_one;
}

// The computer's secret in a game without options whose seed is the page's Module.seed: the
// game's own start-up draws it, as the run with that seed did.
EMSCRIPTEN_KEEPALIVE int hitblow_secret() {
  char name[] = "hitblow";
  char* argv[] = {name, nullptr};
  return game::start_up(1, argv).secret;
}

}  // extern "C"
