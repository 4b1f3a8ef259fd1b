// The 42 slots of the message table by name, with the group each belongs to and how many
// numbers the game prints it with. This is the only place that numbers a slot: the loader's
// format check, the computer's comments, the turn loop and the dialog all go by these names, and
// a message file's lines fill the slots in this order.
#pragma once

namespace console {

// clang-format off
enum Slot : int {
  // The computer thinking aloud, SlotGroup::thinking: before it weighs the answers, how many
  // codes are left, and the second guess, from the opening book.
  k_slot_thinking, k_slot_remaining, k_slot_book_guess,
  // Then by the number of candidates left: a remark, a listing of the first candidates (up to
  // 4 left), the guess.
  k_slot_one_left, k_slot_one_left_guess,                                    // 1
  k_slot_two_left, k_slot_two_left_listed, k_slot_two_left_guess,            // 2
  k_slot_three_left, k_slot_three_left_listed, k_slot_three_left_guess,      // 3
  k_slot_four_left, k_slot_four_left_listed, k_slot_four_left_guess,         // 4
  k_slot_few_left, k_slot_few_left_guess,                                    // 5 to 9
  k_slot_many_left, k_slot_many_left_guess,                                  // above 200
  k_slot_unused_remark, k_slot_unused_guess,                                 // never printed
  k_slot_some_left_guess,                                                    // 10 to 200
  // The turn loop, SlotGroup::turn_loop: the prompts for a guess, the refusal of one, the
  // computer's guess, the two lines on the answer syntax, the endings, and what follows an
  // answer shown back and a guess with its score.
  k_slot_first_prompt, k_slot_next_prompt, k_slot_not_a_code, k_slot_computer_guess,
  k_slot_answer_help, k_slot_answer_help_x, k_slot_draw, k_slot_user_wins, k_slot_computer_wins,
  k_slot_answer_echo_end, k_slot_scored_guess_end,
  // The contradiction dialog, SlotGroup::dialog: the answers can't all be true, after their
  // list, the Y/N question, the two requests for the user's code, around the corrected row,
  // after a row that agrees, the end of the check, and the ending when the user doesn't insist.
  k_slot_strange, k_slot_you_said, k_slot_really, k_slot_give_up, k_slot_tell_me,
  k_slot_wrong_here, k_slot_should_be, k_slot_row_end, k_slot_you_lose, k_slot_i_win,
};
// clang-format on

constexpr int k_slot_count = k_slot_i_win + 1;

// -quiet blanks the thinking group.
enum class SlotGroup { thinking, turn_loop, dialog };

constexpr SlotGroup slot_group(int slot) {
  if (slot < k_slot_first_prompt) return SlotGroup::thinking;
  return slot < k_slot_strange ? SlotGroup::turn_loop : SlotGroup::dialog;
}

// The ints the game passes with each slot; a message file may use fewer, never more.
constexpr int k_slot_arguments[k_slot_count] = {
    0, 1, 1, 0, 1, 0, 2, 1, 0, 3, 1, 0, 4, 1, 0, 1, 0, 1, 0, 1, 1,  // thinking
    0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0,                                // turn loop
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                   // dialog
};
static_assert(k_slot_arguments[k_slot_four_left_listed] == 4 &&
                  k_slot_arguments[k_slot_computer_wins] == 1 &&
                  k_slot_arguments[k_slot_some_left_guess] == 1,
              "the arguments follow the slots' order");

}  // namespace console
