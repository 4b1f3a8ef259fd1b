// Contradiction dialog: the user's answers leave no code possible, so the computer shows them,
// asks whether they stand, and settles the game. It always ends the program with status 0.
#include <cassert>

#include "console/console.h"
#include "console/messages.h"
#include "console/platform.h"
#include "player/player.h"

namespace player {

namespace {

// Reads the user's code from the next line. Returns false at end of input: no code was given,
// and none is made up for the user.
bool read_code(Code& code) {
  console::platform::report(console::platform::k_event_waiting, {console::platform::k_wait_code});
  console::Line line;
  if (!console::input_line(line)) return false;
  code = console::read_decimal(line.text);
  return true;
}

// Shows the rows in order, each with the user's answer, up to the first one the code doesn't
// agree with, which is shown again with the score it should have had.
void show_first_wrong_answer(int rows, const Code* guesses, const ScoreCode* answers,
                             Code users_code) {
  for (int i = 0; i < rows; ++i) {
    const ScoreCode should_be = codes::score_guess(guesses[i], users_code);
    codes::print_scored(guesses[i], answers[i]);
    if (should_be != answers[i]) {
      console::platform::report(
          console::platform::k_event_wrong_answer,
          {i + 1, guesses[i], answers[i] / 5, answers[i] % 5, should_be / 5, should_be % 5});
      console::print_slot(console::k_slot_wrong_here);
      codes::print_scored(guesses[i], should_be);
      console::print_slot(console::k_slot_should_be);
      return;
    }
    console::print_slot(console::k_slot_row_end);
  }
}

// The user insists the answers are right: the computer gives up, asks for the code and points
// at the first answer that code contradicts. One retry for a code that isn't valid; whatever
// comes the second time is used as it is, since score_guess takes any number. Without input
// the check is skipped, as there is no code to check against.
void check_against_users_code(int rows, const Code* guesses, const ScoreCode* answers) {
  console::print_slot(console::k_slot_give_up);
  Code users_code = 0;
  if (!read_code(users_code)) return;
  if (codes::is_valid_code(users_code) == 0) {
    console::print_slot(console::k_slot_tell_me);
    if (!read_code(users_code)) return;
  }
  show_first_wrong_answer(rows, guesses, answers, users_code);
  console::print_slot(console::k_slot_you_lose);
}

}  // namespace

void contradiction_dialog(int rows, const Code* guesses, const ScoreCode* answers) {
  assert(rows >= 0);
  assert(rows == 0 || (guesses != nullptr && answers != nullptr));
  console::platform::report(console::platform::k_event_contradiction);
  console::print_slot(console::k_slot_strange);
  codes::print_history(rows, guesses, answers, nullptr, nullptr);
  console::print_slot(console::k_slot_you_said);
  console::print_slot(console::k_slot_really);
  console::platform::report(console::platform::k_event_waiting,
                            {console::platform::k_wait_confirm});
  // Only a reply that starts with Y insists; no reply at all is not one.
  console::Line reply;
  const bool insists = console::input_line(reply) && (reply.text[0] == 'Y' || reply.text[0] == 'y');
  if (insists) {
    check_against_users_code(rows, guesses, answers);
  } else {
    console::print_slot(console::k_slot_i_win);
  }
  // The computer wins either way; it never shows its own code here.
  console::platform::report(console::platform::k_event_result,
                            {console::platform::k_outcome_loss, -1});
  console::pause_and_end(0);
}

}  // namespace player
