// The computer's turn: what it says by the number of candidates left, at the first and last count
// of every band that games really reach.
#include <gtest/gtest.h>

#include <string>

#include "codes/codes.h"
#include "console/messages.h"
#include "console_session.h"
#include "player/player.h"

namespace {

using codes::Code;
using codes::ScoreCode;
using enum console::Slot;

constexpr int k_none = -1;

// Every slot prints as a marker of its number and its values, such as "<6 1243 1432>".
void use_marker_messages() {
  for (int slot = 0; slot < console::k_slot_count; ++slot) {
    std::string text = "<" + std::to_string(slot);
    for (int i = 0; i < console::slot_argument_count(slot); ++i) text += " %d";
    text += ">";
    console::message_table[slot].fill('\0');
    text.copy(console::message_table[slot].data(), console::k_slot_bytes - 1);
  }
}

std::string marker(int slot, const Code* values = nullptr, int count = 0) {
  std::string text = "<" + std::to_string(slot);
  for (int i = 0; i < count; ++i) text += " " + std::to_string(values[i]);
  return text + ">";
}

// First guess 1234 against `code`, every answer true: the turns after `rows` answers. Each row
// is a band's first or last count among those the game reaches after two answers or more (no
// game reaches 149 to 203, and 378 is the most the opening book leaves).
TEST(ComputerTurn, CommentsByCandidatesLeftAtEachBandsEdges) {
  static const struct {
    int count;
    Code code;
    int rows;
    int remark, listing, listed, guess;
  } cases[] = {
      {1, 5079, 4, k_slot_one_left, k_none, 0, k_slot_one_left_guess},
      {2, 1243, 2, k_slot_two_left, k_slot_two_left_listed, 2, k_slot_two_left_guess},
      {3, 534, 2, k_slot_three_left, k_slot_three_left_listed, 3, k_slot_three_left_guess},
      {4, 4321, 2, k_slot_four_left, k_slot_four_left_listed, 4, k_slot_four_left_guess},
      {5, 5079, 3, k_slot_few_left, k_none, 0, k_slot_few_left_guess},
      {9, 265, 2, k_slot_few_left, k_none, 0, k_slot_few_left_guess},
      {10, 2015, 2, k_none, k_none, 0, k_slot_some_left_guess},
      {10, 326, 4, k_none, k_none, 0, k_slot_some_left_guess},
      {148, 246, 2, k_none, k_none, 0, k_slot_some_left_guess},
      {204, 146, 2, k_slot_many_left, k_none, 0, k_slot_many_left_guess},
      {378, 178, 2, k_slot_many_left, k_none, 0, k_slot_many_left_guess},
  };
  for (const auto& c : cases) {
    testing_support::ConsoleSession session("");
    use_marker_messages();
    player::reset_candidates();
    Code guesses[8] = {1234};
    ScoreCode answers[8];
    std::string said;
    const auto ended = session.run([&] {
      for (int rows = 1; rows <= c.rows; ++rows) {
        answers[rows - 1] = codes::score_guess(guesses[rows - 1], c.code);
        ASSERT_NE(answers[rows - 1], codes::k_all_hits) << "code " << c.code << ": found early";
        const std::size_t before = session.output().size();
        guesses[rows] = player::next_guess(guesses, answers, rows);
        said = session.output().substr(before);
      }
    });
    ASSERT_FALSE(ended.has_value()) << "code " << c.code << ": ended the program";
    EXPECT_EQ(player::candidate_count, c.count) << "code " << c.code << " after " << c.rows;
    std::string want = marker(k_slot_thinking) + marker(k_slot_remaining, &c.count, 1);
    if (c.remark != k_none) want += marker(c.remark);
    if (c.listing != k_none) want += marker(c.listing, player::candidate_table.data(), c.listed);
    want += marker(c.guess, &guesses[c.rows], 1);
    EXPECT_EQ(said, want) << c.count << " left (code " << c.code << ")";
  }
  player::reset_candidates();
}

}  // namespace
