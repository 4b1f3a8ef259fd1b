// The turn loop: the user's guesses, the computer's guesses, the results and the summary.
#include <cstdint>

#include "console/console.h"
#include "game/game.h"
#include "player/player.h"

namespace game {

namespace {

// Message slots of the turn loop.
enum : int {
  k_first_prompt = 21,
  k_next_prompt = 22,
  k_not_a_code = 23,
  k_computer_guess = 24,
  k_answer_help = 25,
  k_answer_help_x = 26,
  k_draw = 27,
  k_user_wins = 28,
  k_computer_wins = 29,
  k_answer_echo_end = 30,
  k_scored_guess_end = 31,
};

bool is_blank(unsigned char byte) { return byte == ' ' || (byte >= 9 && byte <= 13); }
bool is_digit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

// Blanks, one optional sign, then at least one digit, as a "%d" scan reads them; the value
// wraps modulo 2^32 like read_decimal. On success `p` is left after the last digit.
bool scan_number(const unsigned char*& p, std::uint32_t& value) {
  const unsigned char* q = p;
  while (is_blank(*q)) ++q;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (!is_digit(*q)) return false;
  value = 0;
  while (is_digit(*q)) value = value * 10u + static_cast<std::uint32_t>(*q++ - '0');
  if (negative) value = 0u - value;
  p = q;
  return true;
}

ScoreCode as_score(std::uint32_t value) { return static_cast<ScoreCode>(value); }

Code first_guess(const Deck& deck_a) {
  return codes::compose_digits({deck_a[0], deck_a[1], deck_a[2], deck_a[3]});
}

void print_summary(const History& history, int rows) {
  console::print("---------------------------\n");
  codes::print_history(rows, history.user_guesses, history.user_scores, history.computer_guesses,
                       history.answers);
}

}  // namespace

std::optional<ScoreCode> scan_answer(const char* line) {
  const auto* text = reinterpret_cast<const unsigned char*>(line);
  if (text[0] == 'x' || text[0] == 'X') return 0;

  // "%d%*[hH]%d%*[bB]": hits, a run of h or H (possibly empty), blows; the rest is ignored.
  const unsigned char* p = text;
  std::uint32_t hits = 0;
  std::uint32_t blows = 0;
  if (!scan_number(p, hits)) return std::nullopt;
  while (*p == 'h' || *p == 'H') ++p;
  if (scan_number(p, blows)) return as_score(5u * hits + blows);
  // A lone number counts by the line's own second byte, not the byte after the number, so
  // "2H" is two hits while "12B" and " 2H" can't be read.
  if (text[1] == 'h' || text[1] == 'H') return as_score(5u * hits);
  if (text[1] == 'b' || text[1] == 'B') return as_score(hits);
  return std::nullopt;
}

std::optional<ScoreCode> parse_answer() {
  console::Line line;
  while (console::input_line(line)) {
    const std::optional<ScoreCode> answer = scan_answer(line.text);
    if (!answer) {
      console::print_slot(k_answer_help);
      console::print_slot(k_answer_help_x);
      continue;
    }
    // An answer that works out negative is dropped without a word.
    if (*answer >= 0) return answer;
  }
  return std::nullopt;
}

void run_game(Code secret, const Deck& deck_a) {
  History history{};
  int turn = 0;
  int rows = k_max_turns;  // the turns the summary lists
  while (turn < k_max_turns) {
    console::print_slot(turn == 0 ? k_first_prompt : k_next_prompt);
    console::Line line;
    if (!console::input_line(line)) {
      // End of input is a quit: the summary shows the turns that were finished.
      console::print("\n");
      rows = turn;
      break;
    }
    if (line.text[0] == '?' || line.text[0] == 'h') {
      codes::print_history(turn, history.user_guesses, history.user_scores,
                           history.computer_guesses, history.answers);
      continue;
    }
    const Code guess = console::read_decimal(line.text);
    if (!codes::is_valid_code(guess)) {
      console::print_slot(k_not_a_code);
      continue;
    }
    const ScoreCode score = codes::score_guess(guess, secret);
    history.user_guesses[turn] = guess;
    history.user_scores[turn] = score;
    codes::print_scored(guess, score);
    console::print_slot(k_scored_guess_end);

    if (turn == 0) history.computer_guesses[0] = first_guess(deck_a);
    console::print_slot(k_computer_guess, history.computer_guesses[turn]);
    const std::optional<ScoreCode> answer = parse_answer();
    if (!answer) {
      console::print("\n");
      rows = turn;
      break;
    }
    history.answers[turn] = *answer;
    if (score == codes::k_all_hits) {
      console::print_slot(*answer == codes::k_all_hits ? k_draw : k_user_wins);
      rows = turn + 1;
      break;
    }
    if (*answer == codes::k_all_hits) {
      console::print_slot(k_computer_wins, secret);
      rows = turn + 1;
      break;
    }
    console::print("            ");
    codes::print_scored(history.computer_guesses[turn], *answer);
    console::print_slot(k_answer_echo_end);
    // After the last turn the History has no room for another guess, so the computer rests.
    if (turn + 1 < k_max_turns) {
      history.computer_guesses[turn + 1] =
          player::next_guess(history.computer_guesses, history.answers, turn + 1);
    }
    ++turn;
  }
  print_summary(history, rows);
  console::pause_for_return();
}

}  // namespace game
