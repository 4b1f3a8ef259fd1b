// Contradiction dialog: whole transcripts for every reply, including input that runs out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codes/codes.h"
#include "console/console.h"
#include "console/messages.h"
#include "console_session.h"
#include "player/player.h"

namespace {

using codes::Code;
using codes::ScoreCode;
using enum console::Slot;

const std::string k_pause = "\n--(Hit return key)--\n";

// The text a slot without arguments prints: its own bytes, as long as it holds no directive.
std::string slot(int n) {
  const std::string text = console::message_table[n].data();
  EXPECT_FALSE(text.empty()) << "slot " << n << " is empty, so transcripts can't show it";
  EXPECT_EQ(text.find('%'), std::string::npos) << "slot " << n << " holds a directive";
  return text;
}

struct Answers {
  std::vector<Code> guesses;
  std::vector<ScoreCode> answers;
};

// First guess 1234, the book's 0567, then 5678, which the user's code 5079 scores 2H; the
// user said 1H, and no code gives these three answers.
const Answers k_wrong_in_row_2 = {{1234, 567, 5678}, {0, 3, 5}};
// The user holds 1122, not a valid code, and scored both guesses truthfully against it; no
// valid code gives 1H3B to both.
const Answers k_scored_against_1122 = {{1234, 1240}, {8, 8}};

// What the dialog prints before it reads the reply.
std::string opening(const char* history) {
  return slot(k_slot_strange) + history + slot(k_slot_you_said) + slot(k_slot_really);
}

TEST(Dialog, Transcripts) {
  const std::string head_a = opening("1234 X \n0567 3B \n5678 1H \n");
  const std::string head_b = opening("1234 1H3B \n1240 1H3B \n");
  // The walk for the code 5079: rows 0 and 1 agree, row 2 is shown with both scores.
  const std::string walk_5079 = "1234 X " + slot(k_slot_row_end) + "0567 3B " +
                                slot(k_slot_row_end) + "5678 1H " + slot(k_slot_wrong_here) +
                                "5678 2H " + slot(k_slot_should_be) + slot(k_slot_you_lose);
  const std::string i_win = slot(k_slot_i_win) + k_pause;
  const std::string asked_a = head_a + slot(k_slot_give_up);
  const std::string again_a = asked_a + slot(k_slot_tell_me);
  const std::string again_b = head_b + slot(k_slot_give_up) + slot(k_slot_tell_me);
  const struct {
    const char* name;
    const Answers& history;
    std::string input;
    std::string want;
  } cases[] = {
      {"y, then a code the answers contradict in row 2", k_wrong_in_row_2, "y\n5079\n\n",
       asked_a + walk_5079 + k_pause},
      {"Y counts like y", k_wrong_in_row_2, "Y\n5079\n", asked_a + walk_5079 + k_pause},
      {"only the first character of the reply counts", k_wrong_in_row_2, "yes, really\n5079\n",
       asked_a + walk_5079 + k_pause},
      {"a valid first code is not asked for again", k_wrong_in_row_2, "y\n5079\n1122\n",
       asked_a + walk_5079 + k_pause},
      {"the code's line may lack its line feed", k_wrong_in_row_2, "y\n5079",
       asked_a + walk_5079 + k_pause},
      {"a code the answers contradict in row 0 stops the walk at once", k_wrong_in_row_2,
       "y\n1235\n",
       asked_a + "1234 X " + slot(k_slot_wrong_here) + "1234 3H " + slot(k_slot_should_be) +
           slot(k_slot_you_lose) + k_pause},
      {"an empty first code (0000) is asked for again", k_wrong_in_row_2, "y\n\n5079\n",
       again_a + walk_5079 + k_pause},
      {"words for a first code are asked for again", k_wrong_in_row_2, "y\nfive\n5079\n",
       again_a + walk_5079 + k_pause},
      {"a second code that is still invalid and contradicts row 0 is used as it is",
       k_wrong_in_row_2, "y\n1224\n1\n",
       again_a + "1234 X " + slot(k_slot_wrong_here) + "1234 1B " + slot(k_slot_should_be) +
           slot(k_slot_you_lose) + k_pause},
      {"a second code that is still invalid and agrees with every row", k_scored_against_1122,
       "y\n1224\n1122\n",
       again_b + "1234 1H3B " + slot(k_slot_row_end) + "1240 1H3B " + slot(k_slot_row_end) +
           slot(k_slot_you_lose) + k_pause},
      {"N", k_wrong_in_row_2, "N\n5079\n", head_a + i_win},
      {"n", k_wrong_in_row_2, "n\n", head_a + i_win},
      {"an empty line", k_wrong_in_row_2, "\ny\n", head_a + i_win},
      {"a blank before the y", k_wrong_in_row_2, " y\n", head_a + i_win},
      {"a full-width y", k_wrong_in_row_2, "\x82\x99\n", head_a + i_win},
      {"end of input at the question", k_wrong_in_row_2, "", head_a + i_win},
      {"end of input at the first code", k_wrong_in_row_2, "y\n", asked_a + k_pause},
      {"end of input at the second code", k_wrong_in_row_2, "y\n1224\n", again_a + k_pause},
      {"end of input at the second code of the agreeing history", k_scored_against_1122,
       "Y\n1122 1\n",  // 1122 is not valid: the dialog asks again and gets nothing
       again_b + k_pause},
  };
  for (const auto& c : cases) {
    testing_support::ConsoleSession session(c.input);
    const int rows = static_cast<int>(c.history.guesses.size());
    const auto ended = session.run([&] {
      player::contradiction_dialog(rows, c.history.guesses.data(), c.history.answers.data());
    });
    ASSERT_TRUE(ended.has_value()) << c.name << ": the dialog returned";
    EXPECT_EQ(*ended, 0) << c.name;
    EXPECT_EQ(session.output(), c.want) << c.name;
  }
}

// The dialog speaks through the table as it stands, so a message file changes every line of it.
TEST(Dialog, UsesTheCurrentMessageTable) {
  static const struct {
    int slot;
    const char* text;
  } replaced[] = {
      {k_slot_strange, "Wait, that's odd.\n"},  {k_slot_you_said, "You said:\n"},
      {k_slot_really, "Really? (Y/N) "},        {k_slot_give_up, "I give up. Your code? "},
      {k_slot_tell_me, "Come on, your code? "}, {k_slot_wrong_here, "<- wrong; "},
      {k_slot_should_be, "is right.\n"},        {k_slot_row_end, "ok\n"},
      {k_slot_you_lose, "You lose.\n"},         {k_slot_i_win, "I win.\n"},
  };
  testing_support::ConsoleSession session("y\n12\n5079\n");
  for (const auto& r : replaced) std::strcpy(console::message_table[r.slot].data(), r.text);
  const auto ended = session.run([] {
    player::contradiction_dialog(3, k_wrong_in_row_2.guesses.data(),
                                 k_wrong_in_row_2.answers.data());
  });
  ASSERT_TRUE(ended.has_value()) << "the dialog returned";
  EXPECT_EQ(*ended, 0);
  EXPECT_EQ(session.output(),
            "Wait, that's odd.\n"
            "1234 X \n0567 3B \n5678 1H \n"
            "You said:\n"
            "Really? (Y/N) I give up. Your code? Come on, your code? "
            "1234 X ok\n0567 3B ok\n5678 1H <- wrong; 5678 2H is right.\n"
            "You lose.\n"
            "\n--(Hit return key)--\n");
}

}  // namespace
