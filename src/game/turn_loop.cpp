// The turn loop: the user's guesses, the computer's guesses, the results and the summary.
#include "game/turn_loop.h"

#include <cstdint>

#include "console/console.h"
#include "console/messages.h"
#include "console/platform.h"
#include "player/player.h"

namespace game {

namespace {

// 5 * hits + blows, wrapping modulo 2^32 as the scan of each number does.
ScoreCode as_score(std::int32_t hits, std::int32_t blows) {
  return static_cast<ScoreCode>(5u * static_cast<std::uint32_t>(hits) +
                                static_cast<std::uint32_t>(blows));
}

// Tells the page a code with its score, as hits and blows the way print_scored shows them.
void report_scored(console::platform::Event event, Code code, ScoreCode score) {
  console::platform::report(event, {code, score / 5, score % 5});
}

void report_waiting(console::platform::Wait wait) {
  console::platform::report(console::platform::k_event_waiting, {wait});
}

void report_result(console::platform::Outcome outcome, Code secret) {
  console::platform::report(console::platform::k_event_result, {outcome, secret});
}

void print_summary(const History& history, int rows) {
  console::print("%s", k_summary_rule);
  codes::print_history(rows, history.user_guesses, history.user_scores, history.computer_guesses,
                       history.answers);
}

}  // namespace

std::optional<ScoreCode> scan_answer(const char* line, AnswerCounts* counts) {
  AnswerCounts ignored{};
  AnswerCounts& typed = counts != nullptr ? *counts : ignored;
  typed = {0, 0};
  if (line[0] == 'x' || line[0] == 'X') return 0;

  // "%d%*[hH]%d%*[bB]": hits, a run of h or H (possibly empty), blows; the rest is ignored.
  std::int32_t hits = 0;
  std::int32_t blows = 0;
  const char* p = console::scan_decimal(line, hits);
  if (p == nullptr) return std::nullopt;
  while (*p == 'h' || *p == 'H') ++p;
  if (console::scan_decimal(p, blows) == nullptr) {
    // A lone number counts by the line's own second byte, not the byte after the number, so
    // "2H" is two hits while "12B" and " 2H" can't be read.
    if (line[1] == 'b' || line[1] == 'B') {
      blows = hits;
      hits = 0;
    } else if (line[1] != 'h' && line[1] != 'H') {
      return std::nullopt;
    }
  }
  typed = {hits, blows};
  return as_score(hits, blows);
}

std::optional<Code> scan_guess(const char* line) {
  const Code guess = console::read_decimal(line);
  if (!codes::is_valid_code(guess)) return std::nullopt;
  return guess;
}

std::optional<ScoreCode> parse_answer() {
  console::Line line;
  for (report_waiting(console::platform::k_wait_answer); console::input_line(line);
       report_waiting(console::platform::k_wait_answer)) {
    const std::optional<ScoreCode> answer = scan_answer(line.text);
    if (!answer) {
      console::platform::report(console::platform::k_event_unreadable);
      console::print_slot(console::k_slot_answer_help);
      console::print_slot(console::k_slot_answer_help_x);
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
    console::print_slot(turn == 0 ? console::k_slot_first_prompt : console::k_slot_next_prompt);
    report_waiting(console::platform::k_wait_guess);
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
    const std::optional<Code> read = scan_guess(line.text);
    if (!read) {
      console::print_slot(console::k_slot_not_a_code);
      continue;
    }
    const Code guess = *read;
    const ScoreCode score = codes::score_guess(guess, secret);
    history.user_guesses[turn] = guess;
    history.user_scores[turn] = score;
    report_scored(console::platform::k_event_scored, guess, score);
    codes::print_scored(guess, score);
    console::print_slot(console::k_slot_scored_guess_end);

    if (turn == 0) history.computer_guesses[0] = first_four(deck_a);
    const Code computer_guess = history.computer_guesses[turn];
    console::platform::report(console::platform::k_event_computer_guess, {computer_guess});
    console::print_slot(console::k_slot_computer_guess, computer_guess);
    const std::optional<ScoreCode> answer = parse_answer();
    if (!answer) {
      console::print("\n");
      rows = turn;
      break;
    }
    history.answers[turn] = *answer;
    report_scored(console::platform::k_event_answer, computer_guess, *answer);
    if (score == codes::k_all_hits) {
      const bool draw = *answer == codes::k_all_hits;
      report_result(draw ? console::platform::k_outcome_draw : console::platform::k_outcome_win,
                    secret);
      console::print_slot(draw ? console::k_slot_draw : console::k_slot_user_wins);
      rows = turn + 1;
      break;
    }
    if (*answer == codes::k_all_hits) {
      report_result(console::platform::k_outcome_loss, secret);
      console::print_slot(console::k_slot_computer_wins, secret);
      rows = turn + 1;
      break;
    }
    console::print("            ");
    codes::print_scored(history.computer_guesses[turn], *answer);
    console::print_slot(console::k_slot_answer_echo_end);
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
